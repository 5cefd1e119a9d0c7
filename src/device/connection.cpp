#include "device/connection.h"

namespace orvo {

std::optional<HidInterfaceInfo> FindKeyboardInterface(HidBus& bus, std::string_view substring,
                                                      std::uint16_t productId) {
    for (HidInterfaceInfo& info : bus.Enumerate()) {
        if (info.vendorId == kKeyboardVendorId && info.productId == productId &&
            info.matchText.find(substring) != std::string::npos)
            return std::move(info);
    }
    return std::nullopt;
}

DeviceConnection::DeviceConnection(HidBus& bus, Pacer& pacer) : m_bus(bus), m_pacer(pacer) {}
DeviceConnection::~DeviceConnection() = default;
ConnectResult DeviceConnection::Connect(ConfigState&, MessageSink&) {
    return {};
}
ArrivalResult DeviceConnection::OnArrival(ConfigState&) {
    return {};
}
void DeviceConnection::OnRemoval() {}
void DeviceConnection::Shutdown() {}
bool DeviceConnection::RunCommands(const std::function<bool(CommandChannel&)>&) {
    return false;
}
ApplyResult DeviceConnection::ApplyChanges(SettingsImage&, DeviceSnapshot&) {
    return {};
}
ResetResult DeviceConnection::ResetAndReload(ConfigState&) {
    return {};
}
bool DeviceConnection::OpenCommandInterface(std::string*) {
    return false;
}
bool DeviceConnection::OpenInputInterface(std::string*) {
    return false;
}
bool DeviceConnection::StartListener(MessageSink&) {
    return false;
}
void DeviceConnection::JoinReadBack() {}
bool DeviceConnection::commandOpen() const {
    return false;
}
bool DeviceConnection::inputOpen() const {
    return false;
}
std::string DeviceConnection::commandPath() const {
    return {};
}
std::string DeviceConnection::inputPath() const {
    return {};
}
HidInterfaceInfo DeviceConnection::lastFound() const {
    return {};
}

} // namespace orvo
