#pragma once
#include <QDialog>

namespace orv {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(const QIcon& icon, QWidget* parent = nullptr);
};

}  // namespace orv
