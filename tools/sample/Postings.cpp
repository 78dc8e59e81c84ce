#include "Postings.h"

namespace lrf::sample {
namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Pieces shared by the blocks, spliced in by name.
// NEXT: one step of a linear congruential sequence; R takes 15 good bits of it.
const std::string kNext = "seed = MOD(seed * 1103515245 + 12345, 2147483648); r = seed / 65536; ";

// MONTH: the first day and the length of month m.
const std::string kMonth = "first_day = DATEADD(MONTH, m - 1, DATE '{YEAR}-01-01'); "
                           "days = EXTRACT(DAY FROM DATEADD(DAY, -1, DATEADD(MONTH, 1, first_day))); ";

// DAY: a day of month m, the first and the last day more often than the others (openings, closings).
const std::string kDay = "{NEXT} IF (MOD(r, 100) < 7) THEN d = first_day; "
                         "ELSE IF (MOD(r, 100) < 14) THEN d = DATEADD(DAY, days - 1, first_day); "
                         "ELSE BEGIN {NEXT} d = DATEADD(DAY, MOD(r, days), first_day); END ";

const std::string kCommonDeclarations =
    "DECLARE seed BIGINT = {SEED}; DECLARE r BIGINT; DECLARE id INTEGER = 0; "
    "DECLARE ficha INTEGER; DECLARE m INTEGER; DECLARE n INTEGER; "
    "DECLARE k INTEGER; DECLARE first_day DATE; DECLARE days INTEGER; "
    "DECLARE d DATE; DECLARE amount NUMERIC(18,2); ";

// Revenue postings: taxes come in almost daily, transfers a few times a month, a convention now
// and then; some months of a line have none. Amounts wander around a twelfth of the budget.
const std::string kRevenuePostings =
    "EXECUTE BLOCK AS {DECLARE} DECLARE totor NUMERIC(18,2); DECLARE mean INTEGER; "
    "BEGIN "
    "FOR SELECT FICHA, COALESCE(TOTOR, 24000), "
    "  CASE SUBSTRING(CODRE FROM 1 FOR 2) WHEN '11' THEN 20 WHEN '17' THEN 6 WHEN '97' THEN 6 "
    "  WHEN '24' THEN 1 ELSE 3 END "
    "  FROM RECDIS ORDER BY FICHA INTO :ficha, :totor, :mean DO "
    "BEGIN "
    "  m = 1; "
    "  WHILE (m <= 12) DO BEGIN "
    "    {MONTH} {NEXT} n = MOD(r, 2 * mean + 1); k = 0; "
    "    WHILE (k < n) DO BEGIN "
    "      {DAY} {NEXT} amount = totor / 12 / n * (70 + MOD(r, 61)) / 100; "
    "      id = id + 1; "
    "      INSERT INTO RECEIT (ID, FICHA, VAREC, DTLAN) VALUES (:id, :ficha, :amount, :d); "
    "      k = k + 1; "
    "    END "
    "    m = m + 1; "
    "  END "
    "END "
    "END";

// Budget alterations: up to three a year per line, mostly increases.
const std::string kRevenueAlterations =
    "EXECUTE BLOCK AS {DECLARE} DECLARE totor NUMERIC(18,2); "
    "BEGIN "
    "FOR SELECT FICHA, COALESCE(TOTOR, 24000) FROM RECDIS ORDER BY FICHA INTO :ficha, :totor DO "
    "BEGIN "
    "  {NEXT} n = MOD(r, 4); k = 0; "
    "  WHILE (k < n) DO BEGIN "
    "    {NEXT} m = 1 + MOD(r, 12); {MONTH} {DAY} "
    "    {NEXT} amount = totor * (MOD(r, 41) - 15) / 100; "
    "    IF (amount = 0) THEN amount = totor / 10; "
    "    id = id + 1; "
    "    INSERT INTO RECALP (ID, FICHA, VALOR, DTLAN, DECRETO) "
    "      VALUES (:id, :ficha, :amount, :d, 'DEC ' || (100 + :id) || '/{YEAR}'); "
    "    k = k + 1; "
    "  END "
    "END "
    "END";

// Commitments: a payroll line is committed once or twice a month, services several times, works
// now and then, the contingency reserve never; off-budget lines move without an allocation.
// A few are partial annulments (negative).
const std::string kCommitments =
    "EXECUTE BLOCK AS {DECLARE} DECLARE dotac NUMERIC(18,2); DECLARE mean INTEGER; "
    "BEGIN "
    "FOR SELECT FICHA, COALESCE(DOTAC, 60000), "
    "  CASE WHEN EXTRA = 'S' THEN 5 WHEN CATEC IS NULL THEN 1 WHEN CATEC STARTING WITH '3.1' THEN 3 "
    "  WHEN CATEC STARTING WITH '3.3' THEN 8 WHEN CATEC STARTING WITH '9' THEN 0 ELSE 1 END "
    "  FROM DESDIS ORDER BY FICHA INTO :ficha, :dotac, :mean DO "
    "BEGIN "
    "  m = 1; "
    "  WHILE (m <= 12) DO BEGIN "
    "    {MONTH} {NEXT} n = MOD(r, 2 * mean + 1); k = 0; "
    "    WHILE (k < n) DO BEGIN "
    "      {DAY} {NEXT} amount = dotac / 12 / n * (60 + MOD(r, 61)) / 100; "
    "      {NEXT} IF (MOD(r, 100) < 3) THEN amount = -amount / 4; "
    "      id = id + 1; "
    "      INSERT INTO DESPES (PKEMP, FICHA, NUMEMP, VADEM, DATAE) VALUES (:id, :ficha, :id, :amount, :d); "
    "      k = k + 1; "
    "    END "
    "    m = m + 1; "
    "  END "
    "END "
    "END";

// Liquidations: most commitments are liquidated whole, some in two parts, some not yet; the
// liquidation comes on the same day or up to five weeks later, within the year.
const std::string kLiquidations =
    "EXECUTE BLOCK AS {DECLARE} DECLARE pkemp INTEGER; DECLARE vadem NUMERIC(18,2); DECLARE datae DATE; "
    "DECLARE rest NUMERIC(18,2); DECLARE last_day DATE = DATE '{YEAR}-12-31'; "
    "BEGIN "
    "FOR SELECT PKEMP, VADEM, DATAE FROM DESPES WHERE VADEM > 0 ORDER BY PKEMP INTO :pkemp, :vadem, :datae "
    "DO "
    "BEGIN "
    "  {NEXT} n = MOD(r, 10); "
    "  rest = CASE WHEN n = 6 THEN vadem * 9 / 10 ELSE vadem END; "
    "  n = CASE WHEN n = 0 THEN 0 WHEN n >= 7 THEN 2 ELSE 1 END; "
    "  d = datae; k = 0; "
    "  WHILE (k < n) DO BEGIN "
    "    {NEXT} IF (MOD(r, 10) >= 3) THEN d = DATEADD(DAY, MOD(r, 36), d); "
    "    IF (d > last_day) THEN d = last_day; "
    "    amount = CASE WHEN k + 1 < n THEN rest / 2 ELSE rest END; "
    "    rest = rest - amount; "
    "    id = id + 1; "
    "    INSERT INTO LIQUID (PKLIQ, PKEMP, VALOR, DATA) VALUES (:id, :pkemp, :amount, :d); "
    "    k = k + 1; "
    "  END "
    "END "
    "END";

// Allocation changes: supplements and reductions of budget lines; the contingency reserve is only
// ever reduced, as it covers the supplements.
const std::string kAllocationChanges =
    "EXECUTE BLOCK AS {DECLARE} DECLARE dotac NUMERIC(18,2); DECLARE reserve SMALLINT; "
    "BEGIN "
    "FOR SELECT FICHA, COALESCE(DOTAC, 10000), IIF(CATEC STARTING WITH '9', 1, 0) FROM DESDIS "
    "  WHERE EXTRA = 'N' ORDER BY FICHA INTO :ficha, :dotac, :reserve DO "
    "BEGIN "
    "  {NEXT} n = MOD(r, 4) + 2 * reserve; k = 0; "
    "  WHILE (k < n) DO BEGIN "
    "    {NEXT} m = 1 + MOD(r, 12); {MONTH} {DAY} "
    "    {NEXT} amount = dotac * (MOD(r, 41) - 15) / 100; "
    "    IF (amount = 0) THEN amount = dotac / 10; "
    "    IF (reserve = 1 AND amount > 0) THEN amount = -amount / 2; "
    "    id = id + 1; "
    "    INSERT INTO DESALD (ID, FICHA, VALOR, DTLAN, DECRETO) "
    "      VALUES (:id, :ficha, :amount, :d, 'DEC ' || (100 + :id) || '/{YEAR}'); "
    "    k = k + 1; "
    "  END "
    "END "
    "END";

std::string Expand(const std::string& block, int year, int seed) {
    std::string text = ReplaceAll(block, "{DECLARE}", kCommonDeclarations);
    text = ReplaceAll(text, "{DAY}", kDay);
    text = ReplaceAll(text, "{MONTH}", kMonth);
    text = ReplaceAll(text, "{NEXT}", kNext);
    text = ReplaceAll(text, "{SEED}", std::to_string(seed));
    return ReplaceAll(text, "{YEAR}", std::to_string(year));
}

} // namespace

std::vector<std::string> PostingStatements(int year) {
    // Commitments before liquidations: the liquidations are drawn from them.
    return {Expand(kRevenuePostings, year, 1001), Expand(kRevenueAlterations, year, 2002),
            Expand(kCommitments, year, 3003), Expand(kLiquidations, year, 4004),
            Expand(kAllocationChanges, year, 5005)};
}

} // namespace lrf::sample
