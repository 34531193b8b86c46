#pragma once

#include <QLabel>

// A picture control. It draws its picture exactly as painted, also while its
// window is disabled: a dialog holds the main window by disabling it, and the
// studio must not fade to grey behind the dialog.
class PictureLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};
