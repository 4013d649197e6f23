// A checkable picture button: a released and a pressed picture stretched over the button, with
// the caption drawn on top. The question grid's cells and the type tabs of chapter practice.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(const QString& text, QWidget* parent = nullptr);

    void setPictures(const QPixmap& released, const QPixmap& pressed);
    void setReleasedPicture(const QPixmap& p);
    void setPressedPicture(const QPixmap& p);
    // Caption colour while pressed (the released caption uses the palette's text colour).
    void setPressedTextColor(const QColor& c) { pressedText_ = c; }
    void setPreferredSize(const QSize& s);

    QSize sizeHint() const override { return preferred_; }
    QSize minimumSizeHint() const override { return preferred_ / 2; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPixmap released_;
    QPixmap pressed_;
    QColor pressedText_;
    QSize preferred_{44, 32};
};
