#include "macro/macro_event_menu.h"

#include "controls/qt_convert.h"

#include <QMenu>
#include <QString>

namespace orvo {

QMenu* CreateEventMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    QMenu* mouseFunctions = nullptr;
    QMenu* button = nullptr;
    std::u16string_view buttonCaption;
    for (const EventMenuItem& item : kEventMenuItems) {
        QMenu* into = menu;
        if (!item.button.empty()) {
            if (mouseFunctions == nullptr)
                mouseFunctions = menu->addMenu(ToQString(kMouseFunctionsCaption));
            if (button == nullptr || item.button != buttonCaption) {
                button = mouseFunctions->addMenu(ToQString(item.button));
                buttonCaption = item.button;
            }
            into = button;
        }
        into->addAction(ToQString(item.caption))->setData(static_cast<int>(item.command));
    }
    return menu;
}

} // namespace orvo
