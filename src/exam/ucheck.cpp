#include "ucheck.h"

#include "platform/desktop/modal.h"
#include "platform/desktop/window.h"
#include "platform/widgets/recordsetmodel.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/uconfig.h"
#include "shell/uprogress.h"
#include "ui_ucheck.h"
#include "uexam.h"

#include <QApplication>
#include <QHeaderView>

#include <cmath>

TFrmCheck* FrmCheck = nullptr;

TFrmCheck::TFrmCheck(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFrmCheck>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    model_ = std::make_unique<widgets::RecordsetModel>(&DM1->Cn1Table_cj);
    model_->addColumn(QStringLiteral("A3"), QStringLiteral("试卷名称"));
    model_->addColumn(QStringLiteral("A6"), QStringLiteral("成绩"), Qt::AlignRight | Qt::AlignVCenter,
                      [](const widgets::RecordsetModel&, int, const QVariant& v) {
                          return v.isNull() ? QString() : QString::number(v.toDouble(), 'g', 6);
                      });
    model_->addColumn(QStringLiteral("D2"), QStringLiteral("用时"), Qt::AlignCenter);
    ui->DBGrid1->setModel(model_.get());
    model_->attachView(ui->DBGrid1);
    ui->DBGrid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    ui->DBGrid1->verticalHeader()->hide();
    for (QPushButton* b : {ui->SpeedButton1, ui->epEfButton3})
        connect(b, &QPushButton::clicked, this, &TFrmCheck::epEfButton3Click);
    for (QPushButton* b : {ui->SpeedButton2, ui->epEfTrBtn1})
        connect(b, &QPushButton::clicked, this, &TFrmCheck::epEfTrBtn1Click);
    for (QPushButton* b : {ui->SpeedButton3, ui->epEfTrBtn2})
        connect(b, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->SpeedButton4, &QPushButton::clicked, this, &TFrmCheck::SpeedButton4Click);
    connect(ui->DBGrid1, &QAbstractItemView::doubleClicked, this, &TFrmCheck::epEfTrBtn1Click);
    if (ScreenMode == u"800")
        resize(600, 420);
}

TFrmCheck::~TFrmCheck()
{
    if (FrmCheck == this)
        FrmCheck = nullptr;
}

int TFrmCheck::PassMark() { return TotalScore() / 5 * 3; }

void TFrmCheck::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    FormShow();
    desktop::centreOnScreen(this);
}

void TFrmCheck::FormShow()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ui->epNumPanel1->display(0);
    ui->epNumPanel2->display(0);
    ui->epNumPanel3->display(0);
    db::Table& plan = DM1->Cn1Table_plan;
    plan.openIfClosed();
    plan.first();
    ui->Lbtip->setText(QStringLiteral("[提示]：成绩少于 ") + QString::number(plan.integer(QStringLiteral("LeastMark"))) +
                       QStringLiteral(" 分的试卷，不被保留。"));
    db::Table& cj = DM1->Cn1Table_cj;
    cj.openIfClosed();
    cj.setSort(QStringLiteral("A3_1 DESC"));
    const bool any = !cj.isEmpty();
    ui->epEfTrBtn1->setEnabled(any);
    ui->SpeedButton2->setEnabled(any);
    if (any)
        ui->epNumPanel1->display(cj.recordCount());
    cj.setFilter(QStringLiteral("A6 >=") + QString::number(PassMark()));
    cj.setFiltered(true);
    if (!cj.isEmpty())
        ui->epNumPanel2->display(cj.recordCount());
    cj.setFiltered(false);
    cj.setFilter(QString());
    DM1->Cn1Query1.open(QStringLiteral("select avg(A6) as avg_fs from tab_cj"));
    // Halves go to the even neighbour; no scored paper gives 0.
    ui->epNumPanel3->display(int(std::nearbyint(DM1->Cn1Query1.number(QStringLiteral("avg_fs")))));
    cj.first();
    QApplication::restoreOverrideCursor();
}

void TFrmCheck::epEfButton3Click()
{
    ConfigMode = 0;
    TFrmConfig config(this);
    FrmConfig = &config;
    desktop::execModal(config);
    FrmConfig = nullptr;
}

void TFrmCheck::epEfTrBtn1Click()
{
    db::Table& cj = DM1->Cn1Table_cj;
    if (!cj.isOpen() || cj.isEmpty() || cj.recNo() < 1)
        return;
    FrmProgress->ShowNotice(QStringLiteral("正在初始化数据..."));
    hide();
    const QString table = cj.text(QStringLiteral("A1"));
    const QString name = cj.text(QStringLiteral("A3"));
    const QString used = cj.text(QStringLiteral("D2"));
    const double score = cj.number(QStringLiteral("A6"));
    FrmProgress->SetNotice(QStringLiteral("正在提取数据..."));
    FrmExam = new TFrmExam;
    FrmExam->SetUpExam(table, name, QStringLiteral("old"), score, used);
    if (FrmExam->OpenPaper())
        desktop::execModal(*FrmExam);
    delete FrmExam;
    FrmExam = nullptr;
    FrmProgress->HideNotice();
    show();
}

void TFrmCheck::SpeedButton4Click()
{
    db::Table& cj = DM1->Cn1Table_cj;
    if (!cj.isOpen() || cj.isEmpty() || cj.recNo() < 1)
        return;
    if (desktop::messageBox(this, QMessageBox::Question, QStringLiteral("提示"), QStringLiteral("即将删除试卷，要继续么？"),
                            QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    QString table = cj.text(QStringLiteral("A1"));
    DropPaperTable(table);
    DM1->ADOQuery3.execSql(QStringLiteral("delete * from tab_cj where A1='") +
                           table.replace(u'\'', QStringLiteral("''")) + u'\'');
}

void TFrmCheck::done(int r)
{
    DM1->Cn1Table_cj.setFiltered(false);
    DM1->Cn1Table_cj.setFilter(QString());
    DM1->Cn1Table_cj.close();
    DM1->Cn1Query1.close();
    QDialog::done(r);
}
