// How strongly the lines proposed for one heading level look like headings: whether they
// stand alone with space above, are short, keep to one left edge or the centre, are numbered,
// and how often their style also sets running text. The figures give each level a confidence,
// and the levels together a confidence for the whole suggestion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "autogen/typography_survey.h"

namespace bm {

struct LevelEvidence {
  uint32_t lines = 0;       // heading lines (a title continued on a next line counts once)
  uint32_t pages = 0;       // pages that hold one
  double alone = 0;         // share with more space above than between lines of a paragraph
  double brief = 0;         // share of short lines (a title, not a sentence)
  double aligned = 0;       // share at the level's usual left edges or centred
  double numbered = 0;      // share that start with a section number
  double inParagraphs = 0;  // share of the style's lines that run inside paragraphs
  bool runIn = false;       // headings that start a paragraph: space above is not asked for

  // From 0 (not headings) to 1.
  double Confidence() const;
};

class HeadingEvidence {
 public:
  // `considered`: by line, whether the line is body matter (no running header, contents or
  // index page). `body`: the style of the running text.
  HeadingEvidence(const TypographySurvey& survey, const std::vector<bool>& considered,
                  uint32_t body);

  // The figures of the lines (indexes into the survey's lines, in order) of one level.
  // `inParagraphs` comes from the style counts of the caller.
  LevelEvidence Weigh(const std::vector<size_t>& lines, double inParagraphs, bool runIn) const;

  // The usual distance between the lines of a paragraph of running text, in points (0 when
  // the document has no such paragraphs).
  double Pitch() const { return pitch_; }

 private:
  bool SpaceAbove(size_t line) const;
  bool Centred(const SurveyLine& line) const;

  const TypographySurvey& survey_;
  const std::vector<bool>& considered_;
  uint32_t body_;
  double pitch_ = 0;
  double bodySize_ = 0;
  // By page: the left and right edge of its running text.
  std::vector<std::pair<float, float>> edges_;
};

}  // namespace bm
