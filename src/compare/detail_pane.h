// The detail pane of the comparison window: one row per field of the
// selected spell, its caption, the old text and the new text side by side.
// The two columns share the pane's width and a long text goes on over as
// many lines as it needs, so nothing is cut off at any window size.
#pragma once

#include <array>
#include <vector>

#include "compare/comparison.h"

class DetailPane {
public:
    explicit DetailPane(int panel) : panel_(panel) {}

    // Shows the first `count` of `fields` (their texts must outlive the
    // pane's showing them) from the top; 0 empties the pane.
    void Show(const std::array<DetailField, SPELL_TEXT_FIELDS>& fields, int count);
    // Lays the shown fields out again if the pane's width has changed.
    void Resized();

private:
    void Lay();
    int LineField(std::size_t n);  // the n-th painted line, made when first needed

    int panel_;
    std::array<DetailField, SPELL_TEXT_FIELDS> fields_{};
    int count_ = 0;
    int width_ = -1;          // the pane width the fields are laid out for
    std::vector<int> lines_;  // painted text fields, reused from one selection to the next
};
