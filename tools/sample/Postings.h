#pragma once
#include <string>
#include <vector>

namespace lrf::sample {

// EXECUTE BLOCKs that generate the year's postings in the database itself, from the budget and
// allocation lines already loaded: revenue postings (RECEIT) and alterations (RECALP), commitments
// (DESPES), their liquidations (LIQUID) and allocation changes (DESALD). Each block walks its lines
// in key order with its own fixed pseudo-random sequence, so the result depends only on the data.
std::vector<std::string> PostingStatements(int year);

} // namespace lrf::sample
