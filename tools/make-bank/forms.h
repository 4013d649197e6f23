// Turns one content item into the questions of its forms: choice, judgement, fill-in,
// matching groups, case groups and self-assessed questions.
#pragma once

#include "content.h"
#include "rng.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace makebank {

struct Draft {
    int type = 0;
    QString text;
    QString answer;
    int optionCount = 0;
    std::optional<QString> explanation;
    QStringList links;
};

// Questions sharing one stem (matching options or a case text).
struct GroupDraft {
    int type = 0;
    QString stem;
    std::vector<Draft> subs;
};

// How many questions of each form one item yields; set per area by the generator.
struct Recipe {
    bool judgement = false;   // statement: one judgement question
    bool fillIn = false;      // statement: one fill-in question
    int multiple = 0;         // list: multiple-choice questions (65)
    int indefinite = 0;       // list: indefinite-choice questions (66)
    int singles = 0;          // list: single-choice questions (61), 0 to 2
    bool shortAnswer = false; // list: one short-answer question (71)
    int singleEvery = 0;      // matching: a single-choice question for every n-th item (0: none)
};

class Composer {
public:
    // citations: article code -> "《short law name》第N条"
    Composer(Rng& rng, const QHash<QString, QString>& citations);

    std::vector<Draft> statement(const content::Statement& s, const Recipe& recipe);
    std::vector<Draft> list(const content::ListFact& f, const Recipe& recipe);
    std::vector<GroupDraft> matchingGroups(const content::Matching& m);
    std::vector<Draft> matchingSingles(const content::Matching& m, const Recipe& recipe);
    GroupDraft caseStudy(const content::CaseStudy& c);
    Draft term(const content::Term& t);
    Draft essay(const content::Essay& e);
    Draft calculation(const content::Calculation& c);

private:
    QString leadIn(const char* law);
    QString citation(const QStringList& links) const;
    Draft choice(int type, const QString& question, const QStringList& right, const QStringList& wrong,
                 int optionCount, const QStringList& links);

    Rng& rng_;
    const QHash<QString, QString>& citations_;
};

QStringList splitItems(const char* text);
QStringList splitLinks(const char* text);

} // namespace makebank
