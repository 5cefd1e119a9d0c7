#include "app/about_dlg.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo {

CAboutDlg::CAboutDlg(const QIcon& icon, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf16(kAboutTitle));
    setWindowIcon(icon);
    auto* picture = new QLabel(this);
    picture->setPixmap(icon.pixmap(32, 32));
    auto* text = new QLabel(QString::fromUtf16(kAboutText), this);
    auto* ok = new QPushButton(QString::fromUtf16(kAboutButtonText), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(picture);
    row->addWidget(text, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addWidget(ok, 0, Qt::AlignRight);
}

} // namespace orvo
