#pragma once
// The program's desktop icon: the brand's hexagon emblem of the skin, drawn for the icon
// theme as PNG pictures and as SVG from one description, so every size shows the same mark.

#include <QString>

namespace orvo::skin {

// Writes FOLDER/<n>x<n>/apps/NAME.png for each icon size and FOLDER/scalable/apps/NAME.svg
// (the hicolor theme's layout); prints each problem and returns false on any.
bool WriteDesktopIcons(const QString& folder, const QString& name);

} // namespace orvo::skin
