#include "examsheet.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QPainter>
#include <QTimer>

namespace {
constexpr int Columns = 5;
}

bool SheetPictures::load(const QString& programFolder)
{
    const QString pic = programFolder + QStringLiteral("pic/");
    return up.load(pic + QStringLiteral("qorvup.bmp")) && down.load(pic + QStringLiteral("qorvdw.bmp")) &&
           right.load(pic + QStringLiteral("qorvyes.bmp")) &&
           wrong.load(pic + QStringLiteral("qorvno.bmp")) &&
           answered.load(pic + QStringLiteral("qorvover.bmp")) &&
           downRight.load(pic + QStringLiteral("qorvdw_r.bmp")) &&
           downWrong.load(pic + QStringLiteral("qorvdw_w.bmp"));
}

SheetButton::SheetButton(int number, QWidget* parent) : QAbstractButton(parent)
{
    setText(QString::number(number));
    setObjectName(QStringLiteral("Sheet%1").arg(number));
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(size_);
}

void SheetButton::setPictures(const QPixmap& up, const QPixmap& down, const QString& stateName)
{
    up_ = up;
    down_ = down;
    state = stateName;
    update();
}

void SheetButton::setCellSize(const QSize& s)
{
    size_ = s;
    setFixedSize(s);
}

void SheetButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const bool down = isChecked() || isDown();
    if (!isEnabled()) p.setOpacity(0.4);
    const QPixmap& pic = down ? down_ : up_;
    if (!pic.isNull()) p.drawPixmap(rect(), pic);
    QFont f = font();
    f.setBold(down);
    if (height() < 20) f.setPointSizeF(8.5); // the compact sheet
    p.setFont(f);
    p.setPen(palette().color(QPalette::ButtonText));
    p.drawText(rect(), Qt::AlignCenter, text());
}

AnswerSheet::AnswerSheet(QWidget* parent)
    : QWidget(parent), grid_(new QGridLayout(this)), group_(new QButtonGroup(this))
{
    grid_->setContentsMargins(2, 2, 2, 2);
    grid_->setHorizontalSpacing(3);
    grid_->setVerticalSpacing(3);
    group_->setExclusive(true);
}

void AnswerSheet::setButtonCount(int count)
{
    while (int(buttons_.size()) < count) {
        const int i = int(buttons_.size());
        auto* b = new SheetButton(i + 1, this);
        b->setCellSize(cellSize_);
        buttons_.push_back(b);
        group_->addButton(b, i + 1);
        grid_->addWidget(b, i / Columns, i % Columns);
        connect(b, &QAbstractButton::clicked, this, [this, b] {
            // The group already put b down; report the change from the one down before.
            SheetButton* previous = current_;
            if (previous == b) return;
            current_ = b;
            emit changed(previous, b);
        });
    }
}

void AnswerSheet::press(SheetButton* b)
{
    if (!b || b == current_) return;
    b->setChecked(true);
    SheetButton* previous = current_;
    current_ = b;
    emit changed(previous, b);
}

void AnswerSheet::clearCurrent()
{
    if (!current_) return;
    group_->setExclusive(false);
    current_->setChecked(false);
    group_->setExclusive(true);
    current_ = nullptr;
}

void AnswerSheet::setCellSize(const QSize& s)
{
    cellSize_ = s;
    grid_->setVerticalSpacing(s.height() < 20 ? 2 : 3);
    for (SheetButton* b : buttons_)
        b->setCellSize(s);
}

ScrollingText::ScrollingText(QWidget* parent) : QWidget(parent), timer_(new QTimer(this))
{
    timer_->setInterval(40);
    connect(timer_, &QTimer::timeout, this, [this] {
        ++offset_;
        update();
    });
}

void ScrollingText::setLines(const QStringList& lines)
{
    lines_ = lines;
    offset_ = 0;
    update();
}

bool ScrollingText::running() const
{
    return timer_->isActive();
}

void ScrollingText::paintEvent(QPaintEvent*)
{
    if (lines_.isEmpty()) return;
    QPainter p(this);
    const int lineHeight = fontMetrics().height() * 2;
    const int block = lineHeight * int(lines_.size());
    // The text enters at the bottom, leaves at the top and comes round again.
    const int cycle = block + height();
    const int top = height() - offset_ % cycle;
    p.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i < lines_.size(); ++i)
        p.drawText(QRect(0, top + i * lineHeight, width(), lineHeight), Qt::AlignCenter, lines_[i]);
}

void ScrollingText::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // The text first stands in the middle, then moves up.
    const int block = fontMetrics().height() * 2 * int(lines_.size());
    offset_ = (height() + block) / 2;
    timer_->start();
}

void ScrollingText::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    timer_->stop();
}
