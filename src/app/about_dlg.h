#pragma once
// The About box: the program icon, its name and version, and one button.

#include <QDialog>

namespace orvo {

inline constexpr auto kAboutText = u"Brisolde 1.1 版";
inline constexpr auto kAboutButtonText = u"确定";
inline constexpr auto kAboutTitle = u"About Brisolde";

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(const QIcon& icon, QWidget* parent = nullptr);
};

} // namespace orvo
