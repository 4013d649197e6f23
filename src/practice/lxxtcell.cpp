#include "lxxtcell.h"

#include <QPainter>

PictureButton::PictureButton(const QString& text, QWidget* parent) : QAbstractButton(parent)
{
    setText(text);
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void PictureButton::setPictures(const QPixmap& released, const QPixmap& pressed)
{
    released_ = released;
    pressed_ = pressed;
    update();
}

void PictureButton::setReleasedPicture(const QPixmap& p)
{
    released_ = p;
    update();
}

void PictureButton::setPressedPicture(const QPixmap& p)
{
    pressed_ = p;
    update();
}

void PictureButton::setPreferredSize(const QSize& s)
{
    preferred_ = s;
    setMinimumHeight(s.height());
    setMaximumHeight(s.height());
    updateGeometry();
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const bool down = isChecked() || isDown();
    if (!isEnabled()) p.setOpacity(0.45);
    const QPixmap& pic = down ? pressed_ : released_;
    if (!pic.isNull()) p.drawPixmap(rect(), pic);
    QColor ink = palette().color(QPalette::ButtonText);
    if (down && pressedText_.isValid()) ink = pressedText_;
    p.setPen(ink);
    p.drawText(rect(), Qt::AlignCenter, text());
}
