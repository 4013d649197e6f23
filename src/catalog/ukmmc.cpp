#include "ukmmc.h"

#include "platform/desktop/modal.h"
#include "platform/desktop/window.h"
#include "platform/widgets/recordsetmodel.h"
#include "practice/ujx.h"
#include "practice/ulxxt.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/uconfig.h"
#include "ui_ukmmc.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

TFrmkmmc* Frmkmmc = nullptr;

namespace {

const QString Fields =
    QStringLiteral("a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1,xx,"
                   "csbs,ecount from tab_answ");

// Pops every hourglass: the normal cursor, whoever pushed the busy one.
void normalCursor()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

// A text value as an SQL literal: single quotes around it, inner ones doubled.
QString quoted(const QString& text)
{
    QString t = text;
    return u'\'' + t.replace(u'\'', QStringLiteral("''")) + u'\'';
}

// One full-width blank before the name per level below the subject, so that the tree
// reads naturally: subject (1 character), part (2), section (4), chapter (6) and deeper.
QString indentedName(const widgets::RecordsetModel& model, int row, const QVariant& value)
{
    const int n = int(model.value(row, QStringLiteral("C1")).toString().trimmed().length());
    const int level = n <= 1 ? 0 : n == 2 ? 1 : n <= 4 ? 2 : n <= 6 ? 3 : 4;
    return QString(level, QChar(0x3000)) + (value.isNull() ? QString() : value.toString());
}

} // namespace

TFrmkmmc::TFrmkmmc(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFrmkmmc>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    GridModel = new widgets::RecordsetModel(&DM1->Cn1Table_kmmc, this);
    GridModel->addHiddenField(QStringLiteral("C1"));
    GridModel->addColumn(QStringLiteral("C2"), QStringLiteral("章节名称"), Qt::AlignLeft | Qt::AlignVCenter,
                         indentedName);
    const Qt::Alignment figure = Qt::AlignLeft | Qt::AlignVCenter;
    GridModel->addColumn(QStringLiteral("C3"), QStringLiteral("习题数目"), figure);
    GridModel->addColumn(QStringLiteral("C4"), QStringLiteral("已做题数"), figure);
    GridModel->addColumn(QStringLiteral("D1"), QStringLiteral("已做道次"), figure);
    GridModel->addColumn(QStringLiteral("D2"), QStringLiteral("做错道次"), figure);
    GridModel->addColumn(QStringLiteral("C6"), QStringLiteral("综合成绩"), Qt::AlignRight | Qt::AlignVCenter);
    GridModel->attachView(ui->DBGrid1);
    ui->DBGrid1->verticalHeader()->hide();
    ui->DBGrid1->horizontalHeader()->setHighlightSections(false);
    ui->DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui->DBGrid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    connect(ui->SpeedButton1, &QPushButton::clicked, this, [this] { LaunchPractice(1); });
    connect(ui->SpeedButton2, &QPushButton::clicked, this, [this] { LaunchPractice(2); });
    connect(ui->SpeedButton3, &QPushButton::clicked, this, [this] { LaunchPractice(3); });
    connect(ui->DBGrid1, &QAbstractItemView::doubleClicked, this, [this] { LaunchPractice(1, true); });
    // Question entry is a window of its own that arrives later; until then the button does nothing.
    connect(ui->SpeedButton5, &QPushButton::clicked, this, [] {});
    connect(ui->SpeedButton4, &QPushButton::clicked, this, &TFrmkmmc::SpeedButton4Click);
    connect(ui->SpeedButton6, &QPushButton::clicked, this, &QDialog::close);
    connect(ui->SpeedButton7, &QPushButton::clicked, this, &TFrmkmmc::ExplanationClick);

    ArrangeControls();
    desktop::centreOnScreen(this);
}

TFrmkmmc::~TFrmkmmc()
{
    if (Frmkmmc == this) Frmkmmc = nullptr;
}

void TFrmkmmc::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    FormShow();
}

void TFrmkmmc::FormShow()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        db::Table& t = DM1->Cn1Table_kmmc;
        t.openIfClosed();
        t.first();
        t.setFiltered(false);
        t.setFilter(QStringLiteral("c1<>'xx'"));
        t.setFiltered(true);
        ArrangeControls();
        RefreshTotals();
        t.locate(QStringLiteral("C1"), LastChapterCode); // without regard to case; else the first row
    } catch (...) {
        normalCursor();
        throw;
    }
    normalCursor();
}

void TFrmkmmc::RefreshTotals()
{
    db::Recordset& q = DM1->Cn1Query1;
    q.open(QStringLiteral(
        "select sum(C3) as count_c3,sum(D1) as count_d1,sum(D2) as count_d2 from tab_kmmc where len(c1)=6"));
    const qint64 c3 = q.integer(QStringLiteral("count_c3"));
    const qint64 d1 = q.integer(QStringLiteral("count_d1"));
    const qint64 d2 = q.integer(QStringLiteral("count_d2"));
    ui->epNum_all->display(int(std::min<qint64>(c3, 10000)));
    ui->epNum_ok->display(int(d1));
    ui->epNum_Err->display(int(d2));
    // Without answers the label keeps what it showed: its design text, or the last score.
    if (d1 > 0) ui->Lb_fs->setText(QString::asprintf("%2.2f", double(d1 - d2) / double(d1) * 100.0));
}

QString TFrmkmmc::PracticeSql(int mode, const QString& code, bool doubleClick)
{
    const QString n = QString::number(code.length());
    const QString q = quoted(code);
    switch (mode) {
    case 2:
        return QStringLiteral("select a1,") + Fields + QStringLiteral("  where (left(A10,") + n +
               QStringLiteral(") = ") + q + QStringLiteral(") and (E4 < 0) ") +
               QStringLiteral(" and (f1<>1)") + QStringLiteral(" order by a13,e3,e4,e1,xx,a1");
    case 3:
        return QStringLiteral("select a1,") + Fields + QStringLiteral(" where (left(A10,") + n +
               QStringLiteral(") = ") + q + QStringLiteral(") and (") +
               QStringLiteral("E2 is not null and E2 <> ''") + QStringLiteral(") ") +
               QStringLiteral("order by a13,e3,e4,e1,xx,a1");
    default:
        return QStringLiteral("select a1 ,") + Fields + QStringLiteral(" where (left(A10,") + n +
               QStringLiteral(") = ") + q + QStringLiteral(") and (E2 = '' or E2 is null) ") +
               QStringLiteral(" and (f1<>1) ") +
               (doubleClick ? QStringLiteral(" order by a13,a10,xx")
                            : QStringLiteral(" order by a13,a10,xx,a1"));
    }
}

void TFrmkmmc::LaunchPractice(int mode, bool doubleClick)
{
    db::Table& t = DM1->Cn1Table_kmmc;
    if (!t.isOpen() || t.isEmpty()) return; // no row, nothing to practise
    const QString code = t.text(QStringLiteral("C1"));
    LastChapterCode = code;
    if (code.length() == 1 || code.length() == 2) {
        desktop::messageBox(this, QMessageBox::Information, QStringLiteral("提示"),
                            QStringLiteral("请选择具体章节目录！"));
        return;
    }
    QuestionSql = PracticeSql(mode, code, doubleClick);

    // Whatever happens below, the cursor comes back, the practice window is freed and the
    // catalog shows again (which refreshes its figures and returns to the launched row).
    struct Restore {
        TFrmkmmc* self;
        TFrmLxxt* w = nullptr;
        ~Restore()
        {
            normalCursor();
            delete w;
            FrmLxxt = nullptr;
            try {
                self->show();
            } catch (const std::exception&) {
                // The figures stay as they were; the window is back all the same.
            }
        }
    } restore{this};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto* w = new TFrmLxxt;
    restore.w = w;
    FrmLxxt = w;
    w->setWindowTitle(QString()); // the launching control has no caption
    if (w->OpenPractice()) {
        // QWidget's own hide: QDialog's would end this window's modal loop as well.
        QWidget::setVisible(false);
        desktop::execModal(*w);
        return;
    }
    normalCursor();
    if (mode == 2 && !doubleClick)
        ShowDlg(QStringLiteral("提示"), QStringLiteral("本章节下没有错题！"), 1, 1, QStringLiteral("NO"));
    else if (mode == 3 && !doubleClick)
        ShowDlg(QStringLiteral("提示"), QStringLiteral("本章节习题还未曾做过！"), 1, 1, QStringLiteral("NO"));
    else
        ShowDlg(QStringLiteral("提示"), QStringLiteral("请联系书店，购买Veldmark《Orvanta》一书！"), 1, 0,
                QStringLiteral("NO"));
}

void TFrmkmmc::SpeedButton4Click()
{
    ConfigMode = 0;
    auto* w = new TFrmConfig(this);
    FrmConfig = w;
    struct Free {
        TFrmConfig* w;
        ~Free()
        {
            delete w;
            FrmConfig = nullptr;
        }
    } free{w};
    desktop::execModal(*w);
}

void TFrmkmmc::ExplanationClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Free {
        TFrmJx* w = nullptr;
        ~Free()
        {
            delete w;
            FrmJx = nullptr;
            normalCursor();
        }
    } free;
    free.w = new TFrmJx(this);
    FrmJx = free.w;
    free.w->bind(&DM1->Cn1DS_kmmc, QStringLiteral("jx"));
    desktop::execModal(*free.w);
}

void TFrmkmmc::done(int r)
{
    FormClose();
    QDialog::done(r);
}

void TFrmkmmc::FormClose()
{
    // The next user of either dataset reopens it.
    DM1->Cn1Table_kmmc.close();
    DM1->Cn1Query1.close();
}

// ---- arrangement, background and dragging ----

namespace {
struct Metrics {
    int width, height, header, margin, gridWidth, figureColumn, rowHeight;
    int boardHeight, itemPitch, labelHeight, lcdWidth, lcdHeight, buttonHeight, buttonGap;
};
constexpr Metrics Large{1000, 700, 56, 20, 740, 68, 26, 268, 64, 22, 140, 34, 38, 8};
constexpr Metrics Compact{788, 570, 44, 12, 556, 60, 22, 228, 56, 20, 124, 30, 32, 6};
} // namespace

void TFrmkmmc::ArrangeControls()
{
    const bool compact = ScreenMode == QLatin1String("800");
    const Metrics& m = compact ? Compact : Large;
    setProperty("screen", compact ? QStringLiteral("800") : QStringLiteral("1024"));
    setFixedSize(m.width, m.height);
    headerHeight_ = m.header;

    const int top = m.header + m.margin * 3 / 4;
    ui->DBGrid1->setGeometry(m.margin, top, m.gridWidth, m.height - top - m.margin);
    ui->DBGrid1->verticalHeader()->setDefaultSectionSize(m.rowHeight);
    for (int c = 1; c < GridModel->columnCount(); ++c)
        ui->DBGrid1->setColumnWidth(c, m.figureColumn);

    const int x = m.margin * 2 + m.gridWidth;
    const int w = m.width - x - m.margin;
    ui->BoardFrame->setGeometry(x, top, w, m.boardHeight);
    QLabel* labels[] = {ui->Label1, ui->Label2, ui->Label3, ui->Label4};
    QWidget* values[] = {ui->epNum_all, ui->epNum_ok, ui->epNum_Err, ui->Lb_fs};
    for (int i = 0; i < 4; ++i) {
        const int y = 8 + i * m.itemPitch;
        labels[i]->setGeometry(8, y, w - 16, m.labelHeight);
        values[i]->setGeometry((w - m.lcdWidth) / 2, y + m.labelHeight + 1, m.lcdWidth, m.lcdHeight);
    }

    int y = top + m.boardHeight + m.margin * 3 / 4;
    for (QPushButton* b :
         {ui->SpeedButton1, ui->SpeedButton2, ui->SpeedButton3, ui->SpeedButton7, ui->SpeedButton5}) {
        b->setGeometry(x, y, w, m.buttonHeight);
        y += m.buttonHeight + m.buttonGap;
    }
    const int bottom = m.height - m.margin - m.buttonHeight;
    const int half = (w - m.buttonGap) / 2;
    ui->SpeedButton4->setGeometry(x, bottom, half, m.buttonHeight);
    ui->SpeedButton6->setGeometry(x + w - half, bottom, half, m.buttonHeight);

    // The style sheet picks fonts by the screen property; apply it again after a change.
    for (QWidget* child : findChildren<QWidget*>()) {
        style()->unpolish(child);
        style()->polish(child);
    }
    style()->unpolish(this);
    style()->polish(this);
    desktop::keepOnScreen(this);
}

void TFrmkmmc::paintEvent(QPaintEvent* e)
{
    QDialog::paintEvent(e);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect r = rect();
    p.fillRect(r, QColor(0xf4, 0xf9, 0xfa));
    QLinearGradient band(0, 0, 0, headerHeight_);
    band.setColorAt(0, QColor(0x2f, 0x8f, 0xb0));
    band.setColorAt(1, QColor(0x1f, 0x78, 0x94));
    p.fillRect(QRect(0, 0, r.width(), headerHeight_), band);
    QFont f = font();
    f.setPixelSize(headerHeight_ * 2 / 5);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(headerHeight_ / 2, 0, r.width(), headerHeight_), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("章节练习"));
    p.setPen(QPen(QColor(0x1f, 0x78, 0x94), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

// The window has no title bar: it moves when dragged by its background.
void TFrmkmmc::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        dragging_ = true;
        dragOffset_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
    }
    QDialog::mousePressEvent(e);
}

void TFrmkmmc::mouseMoveEvent(QMouseEvent* e)
{
    if (dragging_ && (e->buttons() & Qt::LeftButton)) move(e->globalPosition().toPoint() - dragOffset_);
    QDialog::mouseMoveEvent(e);
}

void TFrmkmmc::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        dragging_ = false;
        desktop::keepOnScreen(this);
    }
    QDialog::mouseReleaseEvent(e);
}
