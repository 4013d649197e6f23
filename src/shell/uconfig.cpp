#include "uconfig.h"

#include "common.h"
#include "dm.h"
#include "start.h"
#include "platform/desktop/window.h"
#include "ui_uconfig.h"

#include <QDoubleSpinBox>
#include <QLabel>

#include <cmath>

TFrmConfig* FrmConfig = nullptr;

TFrmConfig::TFrmConfig(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFrmConfig>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    for (int i = 1; i <= 6; ++i)
        ui->FlatComboBox1->addItem(QStringLiteral("乐曲%1").arg(i, 2, 10, QLatin1Char('0')));
    ui->FlatComboBox1->model()->sort(0);
    ui->FlatComboBox1->setCurrentIndex(-1);
    ui->FlatComboBox1->setPlaceholderText(QStringLiteral("请选择乐曲"));
    connect(ui->RxSwitch1, &QPushButton::toggled, this, [this](bool on) {
        ui->RxSwitch1->setText(on ? QStringLiteral("开") : QStringLiteral("关"));
        on ? RxSwitch1On() : RxSwitch1Off();
    });
    connect(ui->FlatComboBox1, &QComboBox::currentIndexChanged, this, [this](int) { FlatComboBox1Change(); });
    connect(ui->epFocusButton3, &QPushButton::clicked, this, &QDialog::accept);
}

TFrmConfig::~TFrmConfig()
{
    if (FrmConfig == this) FrmConfig = nullptr;
}

void TFrmConfig::ArrangeForAnswerTimes()
{
    ui->MusicPanel->hide(); // the switch, the tune list and their labels
}

void TFrmConfig::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    FormShow();
}

void TFrmConfig::FormShow()
{
    const QSignalBlocker block(ui->RxSwitch1);
    ui->RxSwitch1->setChecked(true);
    ui->RxSwitch1->setText(QStringLiteral("开"));
    if (PaperKind == 0) PaperKind = 1;
    if (ConfigMode == 1) {
        BuildTimeLines();
        ui->Label4->show();
        ui->ScrollBox1->show();
        resize(width(), 420);
    } else {
        ui->Label4->hide();
        ui->ScrollBox1->hide();
        adjustSize();
        resize(std::max(width(), 340), height());
    }
    desktop::centreOnScreen(this);
}

void TFrmConfig::BuildTimeLines()
{
    if (lineCount_ > 0) return; // already built for this showing
    db::Table& tx = DM1->Cn1Table_tx;
    tx.close();
    tx.setTableName(QStringLiteral("tab_tx") + QString::number(PaperKind));
    tx.open();
    auto* grid = static_cast<QGridLayout*>(ui->ScrollContents->layout());
    const int n = tx.recordCount();
    tx.first();
    for (int i = 0; i < n; ++i, tx.next()) {
        auto* name = new QLabel(tx.text(QStringLiteral("B1")).trimmed(), ui->ScrollContents);
        auto* field = new QDoubleSpinBox(ui->ScrollContents);
        field->setObjectName(QStringLiteral("Currencyedit%1").arg(i + 1));
        field->setDecimals(1);
        field->setRange(0.1, 30.0);
        field->setSingleStep(0.1);
        field->setValue(tx.number(QStringLiteral("time")));
        field->setProperty("tag", int(tx.integer(QStringLiteral("A1"))));
        auto* unit = new QLabel(QStringLiteral("分钟"), ui->ScrollContents);
        grid->addWidget(name, i, 0);
        grid->addWidget(field, i, 1);
        grid->addWidget(unit, i, 2);
    }
    grid->setRowStretch(n, 1);
    lineCount_ = n;
}

QDoubleSpinBox* TFrmConfig::timeField(int line) const
{
    for (QDoubleSpinBox* f : ui->ScrollContents->findChildren<QDoubleSpinBox*>())
        if (f->objectName().compare(QStringLiteral("currencyedit%1").arg(line), Qt::CaseInsensitive) == 0)
            return f;
    return nullptr;
}

void TFrmConfig::RxSwitch1On()
{
    MusicOn = true;
    if (ui->FlatComboBox1->currentIndex() < 0) MusicFile = AppPath + QStringLiteral("sound/乐曲01.mid");
    if (FrmStart) FrmStart->PlayMusic(MusicFile, true);
}

void TFrmConfig::RxSwitch1Off()
{
    MusicOn = false;
    if (FrmStart) FrmStart->PlayMusic(MusicFile, false);
}

void TFrmConfig::FlatComboBox1Change()
{
    if (ui->FlatComboBox1->currentIndex() < 0) return;
    const QString item = ui->FlatComboBox1->currentText().trimmed();
    if (item.isEmpty() || AppPath.isEmpty()) {
        ShowDlg(QStringLiteral("提示"), QStringLiteral("无法保存当前设置！"), 1, 1, QStringLiteral("NO"));
        return;
    }
    MusicFile = AppPath + QStringLiteral("sound/") + item + QStringLiteral(".mid");
    if (FrmStart) FrmStart->PlayMusic(MusicFile, ui->RxSwitch1->isChecked());
}

void TFrmConfig::done(int r)
{
    FormClose();
    QDialog::done(r);
}

void TFrmConfig::FormClose()
{
    if (closed_ || ConfigMode != 1) return;
    closed_ = true;
    db::Table& tx = DM1->Cn1Table_tx;
    const QString table = QStringLiteral("tab_tx") + QString::number(PaperKind == 0 ? 1 : PaperKind);
    TypeIntervals.fill(0, lineCount_);
    TypeIds.fill(0, lineCount_);
    try {
        if (tx.tableName() != table) tx.setTableName(table);
        tx.openIfClosed();
        for (int i = 0; i < lineCount_; ++i) {
            QDoubleSpinBox* field = timeField(i + 1);
            if (!field) continue;
            const int code = field->property("tag").toInt();
            if (!tx.locate(QStringLiteral("A1"), code)) continue;
            // The field shows one decimal; the stored value is exactly what was shown.
            const double minutes = std::round(field->value() * 10.0) / 10.0;
            tx.setValue(QStringLiteral("time"), minutes);
            tx.post();
            TypeIntervals[i] = IntervalOfMinutes(minutes);
            TypeIds[i] = code;
        }
    } catch (const std::exception&) {
        tx.cancel();
        ShowDlg(QStringLiteral("错误"), QStringLiteral("保存设置失败！"), 1, 2, QStringLiteral("No"));
    }
}
