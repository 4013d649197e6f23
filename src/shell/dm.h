// The data module: the question-bank connection, the shared datasets and the statistics kept per answer.
#pragma once

#include "platform/db/connection.h"
#include "platform/db/recordset.h"
#include "platform/db/table.h"

#include <QObject>

class TDM1 : public QObject {
    Q_OBJECT
public:
    // programFolder: the folder holding data/; empty means the executable's folder.
    explicit TDM1(const QString& programFolder = {}, QObject* parent = nullptr);
    ~TDM1() override;

    bool ConnectOk = false;

    db::Connection ADOCn1;
    db::Connection ADOCn2;

    db::Recordset Cn1Query1{ADOCn1};
    db::DataSource Cn1DS1{&Cn1Query1};
    db::Recordset Cn1Query_tm{ADOCn1};
    db::DataSource Cn1DS_tm{&Cn1Query_tm};
    db::Recordset Cn1Query2{ADOCn1};
    db::DataSource Cn1DS2{&Cn1Query2};
    db::Recordset cn1query_nr{ADOCn1};
    db::DataSource Cn1DS_nr{&cn1query_nr};
    db::Recordset Cn1Query_exam{ADOCn1};
    db::DataSource Cn1DS_exam{&Cn1Query_exam};
    db::Recordset Cn1Query3{ADOCn1};
    db::DataSource Cn1DS3{&Cn1Query3};
    db::Recordset ADOQ_kl{ADOCn1};
    db::DataSource Ds_kl{&ADOQ_kl};
    db::Recordset ADO_0{ADOCn1};
    db::DataSource DS_0{&ADO_0};
    db::Recordset ADOQ_kmmc{ADOCn1};
    db::Recordset m_query{ADOCn1};
    db::Recordset m_queryDetail{ADOCn1};
    db::DataSource m_query_DS{&m_queryDetail};
    db::Recordset ADOQuery3{ADOCn1};
    db::Recordset Cn2Query1{ADOCn2};

    db::Table Cn1Table_kmmc{ADOCn1};
    db::DataSource Cn1DS_kmmc{&Cn1Table_kmmc};
    db::Table Cn1Table_tx{ADOCn1};
    db::Table Cn1Table_rz{ADOCn1};
    db::DataSource Cn1DS_rz{&Cn1Table_rz};
    db::Table Cn1Table_cj{ADOCn1};
    db::DataSource Cn1DS_cj{&Cn1Table_cj};
    db::Table Cn1Table_fgmc{ADOCn1};
    db::Table Cn1Table_plan{ADOCn1};

    // Sets AppPath, builds the connection string, opens ADOCn1 and sets ConnectOk.
    void DataModuleCreate();

    // Statistics kept at every saved answer. Flags are 2 for yes and 1 for no.
    void LogAnswer(int firstToday, int wrong, int previousWrong);
    void CountChapterAnswer(const QString& chapterCode, int firstEver, int wrong);
    void AddStudyTime(const QString& elapsed);
    void CountLawAnswer(const QString& articleList, const QString& keyPointList, const QString& headingList,
                        int firstEver, int wrong);

    // Builds "('a','b')" from codes for CountLawAnswer, quoting each code safely.
    static QString CodeList(const QStringList& codes);

private:
    void Cn1DS_kmmcDataChange();
    QString programFolder_;
};

// The one data module of the program.
extern TDM1* DM1;
