// Keeps the GUI library non-empty until its first widget lands.
namespace orvo {
int GuiPlaceholder() {
    return 0;
}
} // namespace orvo
