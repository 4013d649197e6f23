// The hand-written material of the sample bank: chapter tree, law catalogue and the
// fact tables from which the questions are composed.
//
// Conventions inside the texts:
// - a statement marks each blank as [correct|distractor|distractor|...];
// - lists of items are separated by '|';
// - matching items are "N=text" with N the index of the matching label;
// - links are article codes (tab_rule.ftid) separated by blanks;
// - "**" marks bold text and a paragraph starting with '|' is a table row (see rtf.h).
#pragma once

#include <QString>

#include <span>
#include <vector>

namespace makebank {
class Rng;
}

namespace makebank::content {

struct Heading {
    const char* id;        // two characters
    const char* name;      // full title of the law or regulation
    const char* shortName; // as quoted in questions, without the title marks
};

struct KeyPoint {
    const char* id; // heading + two-digit chapter of the law + two-digit sequence
    const char* name;
};

struct Article {
    const char* keyPoint;
    int number; // article number within its law; ftid = keyPoint + three digits
    const char* text;
};

struct TreeRow {
    const char* code;     // 1, 2, 4 or 6 characters
    const char* title;    // shown by the practice window (C1_1)
    const char* name;     // catalog name (C2)
    const char* guidance; // study guidance markup, or nullptr
};

// One sentence of fact with one or more blanks.
struct Statement {
    const char* chapter;
    const char* law; // short law name for the lead-in, or nullptr for technical facts
    const char* text;
    const char* links;
};

// A topic with the items that belong to it and plausible items that do not.
struct ListFact {
    const char* chapter;
    const char* law;
    const char* topic; // noun phrase: "生产经营单位主要负责人的安全生产职责"
    const char* correct;
    const char* wrong;
    const char* links;
};

// Labels (at least five) and sentences, each answered by one label.
struct Matching {
    const char* chapter;
    const char* intro;
    const char* labels;
    const char* items;
    const char* links;
};

struct CaseSub {
    const char* question;
    const char* answer;
};

// A case stem with its sub-questions (type 64 or 70), answered by self-assessment.
struct CaseStudy {
    const char* chapter;
    int type;
    const char* stem;
    CaseSub subs[5]; // ends at the first null question
    const char* links;
};

struct Term {
    const char* chapter;
    const char* term;
    const char* definition;
    const char* links;
};

// A short-answer (71) or essay (72) question with its model answer.
struct Essay {
    const char* chapter;
    int type;
    const char* question;
    const char* answer;
    const char* links;
};

struct Calculation {
    QString chapter;
    QString text;
    QString answer; // model answer with the working
};

struct Area {
    std::span<const Statement> statements;
    std::span<const ListFact> lists;
    std::span<const Matching> matchings;
};

std::span<const TreeRow> tree();
std::span<const Heading> headings();
std::span<const KeyPoint> keyPoints();
std::span<const Article> articles();

// One area per content file, all of them in order.
Area lawArea();
Area regulationArea();
Area managementArea();
Area healthArea();
Area equipmentArea();
Area fireArea();
Area chemicalArea();
std::vector<Area> areas();
std::span<const CaseStudy> cases();
std::span<const Term> terms();
std::span<const Essay> essays();
// Calculation questions drawn from templates with fresh figures.
std::vector<Calculation> calculations(Rng& rng);

} // namespace makebank::content
