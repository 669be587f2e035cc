#pragma once
#include <QValidator>

class QLineEdit;

namespace orv {

// For an edit box that does not scroll sideways: a text wider than the box can show is
// refused, as such a box of the system refuses the keystroke.
class FitWidthValidator : public QValidator {
public:
    explicit FitWidthValidator(QLineEdit& edit);

    State validate(QString& input, int& pos) const override;

private:
    QLineEdit& edit_;
};

}  // namespace orv
