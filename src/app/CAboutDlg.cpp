#include "app/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

#include "ui/UiText.h"

namespace orv {

CAboutDlg::CAboutDlg(const QIcon& icon, QWidget* parent) : QDialog(parent) {
    setWindowTitle(UiText(TextId::AboutTitle));
    auto* layout = new QGridLayout(this);
    auto* picture = new QLabel(this);
    picture->setPixmap(icon.pixmap(32, 32));
    layout->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(new QLabel(UiText(TextId::AboutVersion), this), 0, 1);
    layout->addWidget(new QLabel(UiText(TextId::AboutCopyright), this), 1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 2, 0, 1, 2);
}

}  // namespace orv
