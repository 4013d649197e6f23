// The sample bank as rows in memory, the question types, and the bank's two steps:
// composing it from the content tables and writing it to a new database file.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

namespace makebank {

inline constexpr quint64 DefaultSeed = 20261211;

struct Question {
    QString key;
    QString answer;
    int optionCount = 0;
    QStringList links; // article codes, at most ten
    QString chapter;
    int type = 0;
    int order = 0; // within its chapter
    QString text;  // markup
    std::optional<QString> explanation;
};

struct Stem {
    QString key; // 16 characters
    QString text;
};

struct ChapterRow {
    QString code;
    QString title;
    QString name;
    bool charted = false;
    std::optional<QString> guidance;
    int count = 0;
};

struct LawRow {
    QString id;
    QString name;
    int count = 0; // distinct questions linking at least one article below the row
};

struct ArticleRow {
    QString keyPoint;
    QString ftid;
    QString sn;
    QString text; // markup
    int count = 0;
};

struct Bank {
    std::vector<ChapterRow> chapters; // display order
    std::vector<LawRow> lawRows;      // display order: heading, then its key points
    std::vector<ArticleRow> articles;
    std::vector<Question> questions;
    std::vector<Stem> stems;
};

struct QuestionType {
    int code;
    const char* name;
    double minutes;
    int points;
};
// All twelve types in ascending code order.
std::span<const QuestionType> questionTypes();
// Questions of a type in a paper of the kind (1 to 5): the B2 column of tab_tx<kind>.
int paperCount(int kind, int type);
// Self-assessed types: answer "1" with one option.
bool isSelfAssessed(int type);

struct Options {
    quint64 seed = DefaultSeed;
    bool small = false;
    int total = 0; // > 0: exactly this many questions, repeating the material in variants
};

// Throws std::runtime_error on inconsistent content.
Bank buildBank(const Options& options);
// Creates the file (which must not exist) and writes every table in one transaction.
void writeBank(const Bank& bank, const QString& path);

} // namespace makebank
