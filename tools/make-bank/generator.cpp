// Composes the bank from the content tables: questions, stems, the chapter tree and the
// law catalogue with statistics that agree with the questions.
//
// The small fixture bank (--small) keeps only the chapters listed in SmallChapters and,
// per two-character part and type, the first questions up to SmallCap:
// - subject 3 (parts 31 and 32, one chapter each): 6 questions of type 61, 6 of 65 and
//   3 of 66 per part, so the prefix "3" holds at least 12, 12 and 6;
// - parts 10, 11, 04, 05, 07 and 08 (one chapter each): 5 of type 61, 3 of 65, one
//   matching group (62, three or more questions) and one case (70, three or more);
//   part 05 also one case of type 64 (three or more);
// - the practice-only types 31, 21, 71, 72, 73 and 74: one or two of each in the bank.
// The full law catalogue is kept; its counts cover the questions kept.
#include "bank.h"
#include "content.h"
#include "forms.h"

#include <QHash>
#include <QSet>

#include <map>
#include <set>
#include <stdexcept>

namespace makebank {

namespace {

constexpr QuestionType Types[] = {
    {21, "填空题", 1.0, 2},       {31, "判断题", 0.5, 1},       {61, "单项选择题", 1.0, 1},
    {62, "配伍选择题", 1.0, 1},   {64, "案例分析题", 15.0, 20}, {65, "多项选择题", 1.5, 2},
    {66, "不定项选择题", 1.5, 2}, {70, "综合分析题", 10.0, 10}, {71, "简答题", 5.0, 5},
    {72, "论述题", 15.0, 10},     {73, "名词解释", 3.0, 3},     {74, "计算题", 8.0, 8},
};

const char* const SmallChapters[] = {"310102", "320101", "100201", "110201",
                                     "040101", "050101", "070202", "080101"};

int smallCap(const QString& part, int type)
{
    const bool lawSubject = part.startsWith(QLatin1Char('3'));
    switch (type) {
    case 61:
        return lawSubject ? 6 : 5;
    case 65:
        return lawSubject ? 6 : 3;
    case 66:
        return lawSubject ? 3 : 0;
    case 62:
    case 64:
    case 70:
        return lawSubject ? 0 : 1; // one group
    default:
        return 1;
    }
}

[[noreturn]] void fail(const QString& message)
{
    throw std::runtime_error(message.toStdString());
}

QString chineseNumber(int n)
{
    static const QString digits = QStringLiteral("零一二三四五六七八九");
    if (n <= 0 || n >= 1000) fail(QStringLiteral("article number out of range: %1").arg(n));
    QString out;
    const int hundreds = n / 100, tens = n / 10 % 10, units = n % 10;
    if (hundreds) out += digits[hundreds] + QStringLiteral("百");
    if (tens)
        out += (tens == 1 && !hundreds ? QString() : QString(digits[tens])) + QStringLiteral("十");
    else if (hundreds && units)
        out += digits[0];
    if (units) out += digits[units];
    return out;
}

class Builder {
public:
    explicit Builder(const Options& options) : options_(options) {}
    Bank build();

private:
    void buildCatalogues();
    void composeRound(Rng& rng);
    Recipe recipeFor(const QString& chapter, int index) const;
    bool admit(const QString& chapter, int type);
    bool full() const { return options_.total > 0 && int(bank_.questions.size()) >= options_.total; }
    QString nextNumber(const QString& chapter, int type);
    void add(const QString& chapter, Draft draft, const QString& key, Rng& rng);
    void addSingle(const QString& chapter, Draft draft, Rng& rng);
    void addGroup(const QString& chapter, GroupDraft group, Rng& rng);
    void countStatistics();
    void checkSmallBank() const;

    Options options_;
    Bank bank_;
    QSet<QString> chapterCodes_;
    QHash<QString, QString> citations_;
    QHash<QString, int> numbers_;  // chapter + type -> last number used
    QHash<QString, int> order_;    // chapter -> last order used
    QHash<QString, int> admitted_; // part + type -> questions (small bank)
};

void Builder::buildCatalogues()
{
    for (const content::TreeRow& r : content::tree()) {
        const QString code = QString::fromUtf8(r.code);
        if (code.size() != 1 && code.size() != 2 && code.size() != 4 && code.size() != 6)
            fail(QStringLiteral("bad chapter code ") + code);
        // A chapter's section and part must be rows above it; a subject may be missing.
        for (int len : {2, 4})
            if (code.size() > len && !chapterCodes_.contains(code.left(len)))
                fail(QStringLiteral("chapter %1 comes before its heading %2").arg(code, code.left(len)));
        if (chapterCodes_.contains(code)) fail(QStringLiteral("repeated chapter code ") + code);
        chapterCodes_.insert(code);
        ChapterRow row;
        row.code = code;
        row.title = QString::fromUtf8(r.title);
        row.name = QString::fromUtf8(r.name);
        // Charted: the top-level rows, subjects and parts without a subject row.
        row.charted = code.size() == 1 || (code.size() == 2 && !chapterCodes_.contains(code.left(1)));
        if (r.guidance) row.guidance = QString::fromUtf8(r.guidance);
        bank_.chapters.push_back(row);
    }

    QHash<QString, QString> lawNames;
    QSet<QString> lawIds;
    for (const content::Heading& h : content::headings())
        lawNames.insert(QString::fromUtf8(h.id), QString::fromUtf8(h.shortName));
    for (const content::Heading& h : content::headings()) {
        const QString id = QString::fromUtf8(h.id);
        bank_.lawRows.push_back({id, QString::fromUtf8(h.name), 0});
        lawIds.insert(id);
        for (const content::KeyPoint& k : content::keyPoints()) {
            const QString kp = QString::fromUtf8(k.id);
            if (kp.size() != 6) fail(QStringLiteral("bad key point ") + kp);
            if (kp.startsWith(id)) {
                bank_.lawRows.push_back({kp, QString::fromUtf8(k.name), 0});
                lawIds.insert(kp);
            }
        }
    }
    for (const content::Article& a : content::articles()) {
        const QString kp = QString::fromUtf8(a.keyPoint);
        if (!lawIds.contains(kp) || !lawIds.contains(kp.left(2)))
            fail(QStringLiteral("article under unknown key point ") + kp);
        ArticleRow row;
        row.keyPoint = kp;
        row.ftid = kp + QStringLiteral("%1").arg(a.number, 3, 10, QLatin1Char('0'));
        row.sn = QStringLiteral("第%1条").arg(chineseNumber(a.number));
        row.text = QStringLiteral("**%1**　%2").arg(row.sn, QString::fromUtf8(a.text));
        if (citations_.contains(row.ftid)) fail(QStringLiteral("repeated article ") + row.ftid);
        citations_.insert(row.ftid, QStringLiteral("《%1》%2").arg(lawNames.value(kp.left(2)), row.sn));
        bank_.articles.push_back(row);
    }
}

Recipe Builder::recipeFor(const QString& chapter, int index) const
{
    Recipe r;
    if (chapter.startsWith(QLatin1Char('3'))) {
        // The law subject: papers of kind 1 draw single, multiple and indefinite choice.
        r.judgement = index % 3 != 2;
        r.fillIn = index % 3 == 1;
        r.multiple = 4;
        r.indefinite = 2;
        r.singles = 1;
        r.shortAnswer = index % 3 == 2;
    } else {
        r.judgement = index % 2 == 0;
        r.fillIn = index % 4 == 1;
        r.multiple = 3;
        r.singles = 2;
        r.shortAnswer = index % 4 == 3;
        r.singleEvery = 3;
    }
    return r;
}

bool Builder::admit(const QString& chapter, int type)
{
    if (!chapterCodes_.contains(chapter) || chapter.size() != 6)
        fail(QStringLiteral("question in unknown chapter ") + chapter);
    if (full()) return false;
    if (!options_.small) return true;
    if (std::find(std::begin(SmallChapters), std::end(SmallChapters), chapter) == std::end(SmallChapters))
        return false;
    const QString part = chapter.left(2);
    const bool practiceOnly = type == 31 || type == 21 || (type >= 71 && type <= 74);
    if (practiceOnly) // at most two of each practice type in the whole small bank
        return admitted_.value(QStringLiteral("all%1").arg(type)) < 2;
    return admitted_.value(QStringLiteral("%1:%2").arg(part).arg(type)) < smallCap(part, type);
}

// Keys: chapter (6) + type (2) + four-digit number within chapter and type, 12 characters.
// A shared stem takes the next number too and adds "0000" (16 characters); its
// sub-questions add "-" and a two-digit position (19 characters).
QString Builder::nextNumber(const QString& chapter, int type)
{
    const int n = ++numbers_[chapter + QString::number(type)];
    if (n > 9999)
        fail(QStringLiteral("more than 9999 questions of type %1 in chapter %2").arg(type).arg(chapter));
    return chapter + QString::number(type) + QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'));
}

void Builder::add(const QString& chapter, Draft draft, const QString& key, Rng& rng)
{
    Question q;
    q.key = key;
    q.answer = draft.answer;
    q.optionCount = draft.optionCount;
    for (const QString& l : draft.links) {
        if (!citations_.contains(l)) fail(QStringLiteral("link to unknown article %1 in %2").arg(l, key));
        if (!q.links.contains(l)) q.links << l;
    }
    if (q.links.size() > 10) fail(QStringLiteral("more than ten links in ") + key);
    q.chapter = chapter;
    q.type = draft.type;
    q.order = ++order_[chapter];
    q.text = draft.text;
    // About one explanation in ten is left out; self-assessed questions keep their model answer.
    const bool drop = rng.percent(10);
    if (isSelfAssessed(draft.type) || !drop) q.explanation = draft.explanation;
    const QString part = chapter.left(2);
    admitted_[QStringLiteral("%1:%2").arg(part).arg(q.type)] += 1;
    admitted_[QStringLiteral("all%1").arg(q.type)] += 1;
    bank_.questions.push_back(std::move(q));
}

void Builder::addSingle(const QString& chapter, Draft draft, Rng& rng)
{
    if (!admit(chapter, draft.type)) return;
    const QString key = nextNumber(chapter, draft.type);
    add(chapter, std::move(draft), key, rng);
}

void Builder::addGroup(const QString& chapter, GroupDraft group, Rng& rng)
{
    if (group.subs.empty() || !admit(chapter, group.type)) return;
    const QString stemKey = nextNumber(chapter, group.type) + QStringLiteral("0000");
    bank_.stems.push_back({stemKey, group.stem});
    int n = 0;
    for (Draft& d : group.subs) {
        if (full()) break;
        add(chapter, std::move(d), stemKey + QStringLiteral("-%1").arg(++n, 2, 10, QLatin1Char('0')), rng);
    }
}

void Builder::composeRound(Rng& rng)
{
    Composer composer(rng, citations_);
    for (const content::Area& area : content::areas()) {
        int index = 0;
        for (const content::Statement& s : area.statements) {
            const QString chapter = QString::fromUtf8(s.chapter);
            for (Draft& d : composer.statement(s, recipeFor(chapter, index++)))
                addSingle(chapter, std::move(d), rng);
        }
        index = 0;
        for (const content::ListFact& f : area.lists) {
            const QString chapter = QString::fromUtf8(f.chapter);
            for (Draft& d : composer.list(f, recipeFor(chapter, index++)))
                addSingle(chapter, std::move(d), rng);
        }
        for (const content::Matching& m : area.matchings) {
            const QString chapter = QString::fromUtf8(m.chapter);
            for (GroupDraft& g : composer.matchingGroups(m))
                addGroup(chapter, std::move(g), rng);
            for (Draft& d : composer.matchingSingles(m, recipeFor(chapter, 0)))
                addSingle(chapter, std::move(d), rng);
        }
    }
    for (const content::CaseStudy& c : content::cases())
        addGroup(QString::fromUtf8(c.chapter), composer.caseStudy(c), rng);
    for (const content::Term& t : content::terms())
        addSingle(QString::fromUtf8(t.chapter), composer.term(t), rng);
    for (const content::Essay& e : content::essays())
        addSingle(QString::fromUtf8(e.chapter), composer.essay(e), rng);
    for (const content::Calculation& c : content::calculations(rng))
        addSingle(c.chapter, composer.calculation(c), rng);
}

void Builder::countStatistics()
{
    std::map<QString, int> perChapter;
    for (const Question& q : bank_.questions)
        ++perChapter[q.chapter];
    for (ChapterRow& row : bank_.chapters) {
        row.count = 0;
        for (const auto& [chapter, n] : perChapter)
            if (chapter.startsWith(row.code)) row.count += n;
    }

    QHash<QString, int> perArticle;
    QHash<QString, int> perLawRow;
    for (const Question& q : bank_.questions) {
        QSet<QString> rows; // each key point and heading counts a question once
        for (const QString& l : q.links) {
            ++perArticle[l];
            rows.insert(l.left(6));
            rows.insert(l.left(2));
        }
        for (const QString& r : rows)
            ++perLawRow[r];
    }
    for (ArticleRow& a : bank_.articles)
        a.count = perArticle.value(a.ftid);
    for (LawRow& r : bank_.lawRows)
        r.count = perLawRow.value(r.id);
}

void Builder::checkSmallBank() const
{
    QHash<QString, int> n;
    for (const Question& q : bank_.questions) {
        const QString part = q.chapter.left(2);
        n[QStringLiteral("%1:%2").arg(part).arg(q.type)] += 1;
        if (part.startsWith(QLatin1Char('3'))) n[QStringLiteral("3:%1").arg(q.type)] += 1;
        n[QStringLiteral("all:%1").arg(q.type)] += 1;
    }
    auto need = [&](const QString& key, int minimum) {
        if (n.value(key) < minimum)
            fail(QStringLiteral("small bank: %1 has %2 questions, needs %3")
                     .arg(key)
                     .arg(n.value(key))
                     .arg(minimum));
    };
    need(QStringLiteral("3:61"), 12);
    need(QStringLiteral("3:65"), 12);
    need(QStringLiteral("3:66"), 6);
    for (const char* part : {"10", "11", "04", "05", "07", "08"}) {
        need(QStringLiteral("%1:61").arg(part), 5);
        need(QStringLiteral("%1:65").arg(part), 3);
        need(QStringLiteral("%1:62").arg(part), 3);
        need(QStringLiteral("%1:70").arg(part), 3);
    }
    need(QStringLiteral("05:64"), 3);
    for (int type : {31, 21, 71, 72, 73, 74})
        need(QStringLiteral("all:%1").arg(type), 1);
}

Bank Builder::build()
{
    buildCatalogues();
    for (int round = 0;; ++round) {
        Rng rng(options_.seed ^ (quint64(round) * 0xd1b54a32d192ed03ULL));
        const size_t before = bank_.questions.size();
        composeRound(rng);
        if (options_.total <= 0 || full()) break;
        if (bank_.questions.size() == before) fail(QStringLiteral("no questions composed"));
    }
    countStatistics();

    std::vector<ChapterRow> rows;
    for (ChapterRow& row : bank_.chapters) {
        if (row.count > 0)
            rows.push_back(std::move(row));
        else if (!options_.small)
            fail(QStringLiteral("chapter row without questions: ") + row.code);
    }
    // The hidden row: kept out of the catalog by its code.
    rows.push_back(
        {QStringLiteral("xx"), QStringLiteral("（保留）"), QStringLiteral("（保留）"), false, {}, 0});
    bank_.chapters = std::move(rows);
    if (options_.small) checkSmallBank();
    return std::move(bank_);
}

} // namespace

std::span<const QuestionType> questionTypes()
{
    return Types;
}

int paperCount(int kind, int type)
{
    switch (kind) {
    case 1:
        return type == 61 ? 30 : type == 65 ? 40 : type == 66 ? 20 : 0;
    case 2:
    case 3:
        return type == 61 ? 50 : type == 62 ? 30 : type == 65 ? 20 : 0;
    case 4:
        return type == 70 ? 10 : 0;
    case 5:
        return type == 64 ? 6 : 0;
    default:
        return 0;
    }
}

bool isSelfAssessed(int type)
{
    return type == 64 || type == 70 || (type >= 71 && type <= 74);
}

Bank buildBank(const Options& options)
{
    return Builder(options).build();
}

} // namespace makebank
