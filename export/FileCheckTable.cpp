// The checks of the conferência, one entry each: adding a check is adding a function and its line in
// the table at the end of this file.
#include "export/FileCheckContext.h"
#include "export/HealthStatementLines.h"

#include <QCryptographicHash>

#include <algorithm>
#include <charconv>

namespace lrf::check {

using namespace Qt::StringLiterals;

namespace {

// How many rows a finding lists; the text says how many there were.
constexpr qsizetype kRowsListed = 30;

QStringList Listed(QStringList rows) {
    if (rows.size() > kRowsListed) {
        const qsizetype more = rows.size() - kRowsListed;
        rows.resize(kRowsListed);
        rows.push_back(u"... e mais %1"_s.arg(more));
    }
    return rows;
}

// Half a cent in ten-thousandths: a written amount may differ from the exact sum by this much per line.
constexpr std::int64_t kHalfCent = 50;

bool Agrees(std::int64_t cents, Currency exact, int lines) {
    const std::int64_t written = cents * 100;
    const std::int64_t difference =
        written > exact.Units() ? written - exact.Units() : exact.Units() - written;
    return difference <= kHalfCent * std::max(lines, 1);
}

struct FileKey {
    std::vector<std::int64_t> cents;
    int lines = 0;
};

// The well-formed lines of a file, summed by key.
std::map<std::string, FileKey> SumByKey(const FileOnDisk& file, std::size_t amounts) {
    std::map<std::string, FileKey> keys;
    for (const FileLine& line : file.lines) {
        FileKey& key = keys[line.key];
        key.cents.resize(amounts);
        ++key.lines;
        for (std::size_t i = 0; i < line.cents.size(); ++i)
            key.cents[i] += line.cents[i];
    }
    return keys;
}

std::int64_t TotalCents(const FileOnDisk& file, std::size_t amount) {
    std::int64_t total = 0;
    for (const FileLine& line : file.lines)
        if (amount < line.cents.size())
            total += line.cents[amount];
    return total;
}

std::set<std::string> Keys(const FileOnDisk& file) {
    std::set<std::string> keys;
    for (const FileLine& line : file.lines)
        keys.insert(line.key);
    return keys;
}

QString Money(std::int64_t cents) {
    return MoneyDisplay(FromCents(cents));
}

// ---- Errors: hold by construction -------------------------------------------------------------------

void WholeFiles(const CheckContext& c, std::vector<CheckFinding>& out) {
    for (std::size_t f = 0; f < kFileCount; ++f) {
        const auto file = static_cast<FileIndex>(f);
        const FileOnDisk& disk = c.files[f];
        if (!disk.wanted)
            continue;
        if (disk.failedInRun) {
            out.push_back(Finding(file, u"o arquivo não foi criado nesta execução"_s));
            continue;
        }
        if (!disk.present) {
            if (c.request.filesNamed || disk.written != nullptr)
                out.push_back(Finding(file, u"o arquivo não está na pasta"_s));
            continue;
        }
        if (disk.written != nullptr) {
            const auto size = static_cast<qint64>(disk.bytes.size());
            const QByteArray bytes = QByteArray::fromRawData(disk.bytes.data(), size);
            if (size != disk.written->size)
                out.push_back(
                    Finding(file, u"o arquivo na pasta tem %1 bytes; a execução gravou %2"_s.arg(size).arg(
                                      disk.written->size)));
            else if (QCryptographicHash::hash(bytes, QCryptographicHash::Sha256) != disk.written->sha256)
                out.push_back(
                    Finding(file, u"o conteúdo do arquivo na pasta não é o que a execução gravou"_s));
        }
        if (disk.formFaultCount > 0) {
            QStringList rows(disk.formFaults.begin(), disk.formFaults.end());
            if (disk.formFaultCount > static_cast<int>(disk.formFaults.size()))
                rows.push_back(
                    u"... e mais %1"_s.arg(disk.formFaultCount - static_cast<int>(disk.formFaults.size())));
            out.push_back(
                Finding(file, u"%1 linha(s) fora do formato do arquivo"_s.arg(disk.formFaultCount), rows));
        }
    }
}

bool ExplainedByW07(const CheckContext& c, FileIndex file, const std::string& key) {
    if (file != kRecOrcd && file != kRecRzda)
        return false;
    const auto it = c.figures.recdisCodes.find(key);
    return it != c.figures.recdisCodes.end() && it->second.size() > 1;
}

void UniqueKeys(const CheckContext& c, std::vector<CheckFinding>& out) {
    for (std::size_t f = 0; f < kFileCount; ++f) {
        const auto file = static_cast<FileIndex>(f);
        const FileOnDisk& disk = c.files[f];
        if (!disk.Usable() || Layout(file).keyRepeats)
            continue;
        QStringList rows;
        for (const auto& [key, sum] : SumByKey(disk, Layout(file).Amounts()))
            if (sum.lines > 1 && !ExplainedByW07(c, file, key))
                rows << u"%1 aparece em %2 linhas"_s.arg(KeyText(key)).arg(sum.lines);
        if (file == kDsoOrcd || file == kDsaOrcd) {
            const std::set<std::string> keys = Keys(disk);
            for (const health::StatementLine& line : health::StatementLines())
                if (!keys.contains(std::string(line.code)))
                    rows << u"falta a linha %1 do demonstrativo"_s.arg(KeyText(line.code));
            for (const std::string& key : keys) {
                bool known = false;
                for (const health::StatementLine& line : health::StatementLines())
                    known = known || line.code == key;
                if (!known)
                    rows << u"linha %1 não é do demonstrativo"_s.arg(KeyText(key));
            }
        }
        if (!rows.isEmpty())
            out.push_back(Finding(file, u"chaves repetidas ou faltando"_s, Listed(rows)));
    }
}

void SameKeys(const CheckContext& c, std::vector<CheckFinding>& out) {
    struct Pair {
        FileIndex first, second;
        bool subset; // the second's keys among the first's, not the same set
    };
    for (const Pair& pair : {Pair{kRecOrcd, kRecRzda, false}, Pair{kDfsOrcd, kDfsRzda, false},
                             Pair{kDesOrcd, kDesRzda, true}, Pair{kDsoOrcd, kDsaOrcd, false}}) {
        const FileOnDisk& a = c.files[pair.first];
        const FileOnDisk& b = c.files[pair.second];
        if (!a.Usable() || !b.Usable())
            continue;
        const std::set<std::string> first = Keys(a);
        const std::set<std::string> second = Keys(b);
        QStringList rows;
        for (const std::string& key : second)
            // Items without a category have a DES_RZDA line of their own; W02 names them.
            if (!first.contains(key) && !(pair.subset && key.empty()))
                rows << u"%1 está em %2 e não em %3"_s.arg(KeyText(key), FileName(pair.second),
                                                           FileName(pair.first));
        if (!pair.subset)
            for (const std::string& key : first)
                if (!second.contains(key))
                    rows << u"%1 está em %2 e não em %3"_s.arg(KeyText(key), FileName(pair.first),
                                                               FileName(pair.second));
        if (!rows.isEmpty())
            out.push_back(Finding(
                pair.second,
                u"%1 e %2 não têm as mesmas chaves"_s.arg(FileName(pair.first), FileName(pair.second)),
                Listed(rows)));
    }
}

void AgainstDatabase(const CheckContext& c, std::vector<CheckFinding>& out) {
    for (std::size_t f = 0; f < kFileCount; ++f) {
        const auto file = static_cast<FileIndex>(f);
        const FileOnDisk& disk = c.files[f];
        if (!disk.Usable())
            continue;
        if (!c.figures.failure[f].isEmpty()) {
            out.push_back(
                Finding(file, u"o banco não deu os valores para conferir: "_s + c.figures.failure[f]));
            continue;
        }
        if (!c.figures.expected[f])
            continue;
        const FileFigures& expected = *c.figures.expected[f];
        const FileLayout& layout = Layout(file);
        const auto written = SumByKey(disk, layout.Amounts());
        QStringList rows;
        for (const auto& [key, sum] : written)
            if (!expected.contains(key))
                rows << u"%1: está no arquivo e não no banco"_s.arg(KeyText(key));
        for (const auto& [key, figures] : expected) {
            const auto it = written.find(key);
            if (it == written.end()) {
                rows << u"%1: está no banco e não no arquivo"_s.arg(KeyText(key));
                continue;
            }
            const FileKey& sum = it->second;
            if (layout.keyRepeats && sum.lines != figures.rows)
                rows << u"%1: %2 linha(s) no arquivo, %3 no banco"_s.arg(KeyText(key))
                            .arg(sum.lines)
                            .arg(figures.rows);
            for (std::size_t i = 0; i < figures.amounts.size(); ++i)
                if (!Agrees(sum.cents[i], figures.amounts[i], sum.lines))
                    rows << u"%1, campo %2: arquivo %3, banco %4"_s.arg(KeyText(key))
                                .arg(layout.keyFields + i + 1)
                                .arg(Money(sum.cents[i]), MoneyDisplay(figures.amounts[i]));
        }
        if (!rows.isEmpty())
            out.push_back(
                Finding(file, u"%1 diferença(s) em relação ao banco"_s.arg(rows.size()), Listed(rows)));
    }
}

// ---- Warnings: hold when the accounting data is consistent ------------------------------------------

void BudgetAndExecutionAgree(const CheckContext& c, std::vector<CheckFinding>& out) {
    const FileOnDisk& desOrcd = c.files[kDesOrcd];
    const FileOnDisk& dfsOrcd = c.files[kDfsOrcd];
    if (desOrcd.Usable() && dfsOrcd.Usable() && TotalCents(desOrcd, 0) != TotalCents(dfsOrcd, 0))
        out.push_back(Finding(kDfsOrcd, u"a dotação por categoria difere da dotação por função"_s,
                              {u"DES_ORCD.TXT: %1"_s.arg(Money(TotalCents(desOrcd, 0))),
                               u"DFS_ORCD.TXT: %1"_s.arg(Money(TotalCents(dfsOrcd, 0)))}));
    const FileOnDisk& desRzda = c.files[kDesRzda];
    const FileOnDisk& dfsRzda = c.files[kDfsRzda];
    if (!desRzda.Usable() || !dfsRzda.Usable())
        return;
    struct Measure {
        const char* name;
        std::size_t des, dfs; // amount index in each file
    };
    QStringList rows;
    for (const Measure& m : {Measure{"empenhado no 1º mês", 0, 0}, Measure{"empenhado no 2º mês", 1, 3},
                             Measure{"liquidado no 1º mês", 2, 1}, Measure{"liquidado no 2º mês", 3, 4}}) {
        const std::int64_t des = TotalCents(desRzda, m.des);
        const std::int64_t dfs = TotalCents(dfsRzda, m.dfs);
        if (des != dfs)
            rows << u"%1: DES_RZDA.TXT %2, DFS_RZDA.TXT %3"_s.arg(QString::fromUtf8(m.name), Money(des),
                                                                  Money(dfs));
    }
    if (!rows.isEmpty())
        out.push_back(Finding(kDfsRzda, u"a execução por categoria difere da execução por função"_s, rows));
}

QString CategoryText(const ExpenseGroup& g) {
    return g.catec ? KeyText(*g.catec) : u"(sem categoria)"_s;
}
QString PairText(const ExpenseGroup& g) {
    return (g.funcao ? KeyText(*g.funcao) : u"(nula)"_s) + u"/"_s +
           (g.subfuncao ? KeyText(*g.subfuncao) : u"(nula)"_s);
}

void CommitmentsLeftOut(const CheckContext& c, std::vector<CheckFinding>& out) {
    if (!c.figures.expenseMovements)
        return;
    const auto& groups = c.figures.expense;
    std::set<std::string> categories;
    std::set<std::pair<std::string, std::string>> pairs;
    for (const ExpenseGroup& g : groups) {
        if (g.extraN && g.catec)
            categories.insert(*g.catec);
        if (g.extraN && g.funcao && g.subfuncao)
            pairs.insert({*g.funcao, *g.subfuncao});
    }
    struct LeftOut {
        FileIndex file;
        std::map<QString, Currency> amounts;
        Currency total;
    };
    LeftOut des{kDesRzda, {}, {}}, dfs{kDfsRzda, {}, {}};
    for (const ExpenseGroup& g : groups) {
        const Currency committed = g.emp1 + g.emp2;
        if (committed.Units() == 0)
            continue;
        if (!g.catec || !categories.contains(*g.catec)) {
            des.amounts[CategoryText(g)] = des.amounts[CategoryText(g)] + committed;
            des.total = des.total + committed;
        }
        if (!g.funcao || !g.subfuncao || !pairs.contains({*g.funcao, *g.subfuncao})) {
            dfs.amounts[PairText(g)] = dfs.amounts[PairText(g)] + committed;
            dfs.total = dfs.total + committed;
        }
    }
    for (const LeftOut* left : {&des, &dfs}) {
        if (!c.files[left->file].Usable() || left->amounts.empty())
            continue;
        QStringList rows;
        for (const auto& [name, amount] : left->amounts)
            rows << u"%1: %2"_s.arg(name, MoneyDisplay(amount));
        out.push_back(
            Finding(left->file,
                    u"empenhos do bimestre que não chegam ao arquivo: %1"_s.arg(MoneyDisplay(left->total)),
                    Listed(rows)));
    }
}

void ExecutionWithinBudget(const CheckContext& c, std::vector<CheckFinding>& out) {
    if (!c.figures.expenseMovements)
        return;
    struct Sums {
        Currency committed, liquidated, allocation;
    };
    std::map<QString, Sums> byCategory, byPair;
    for (const ExpenseGroup& g : c.figures.expense) {
        for (auto [map, named] : {std::pair{&byCategory, g.catec.has_value()},
                                  std::pair{&byPair, g.funcao.has_value() && g.subfuncao.has_value()}}) {
            if (!named)
                continue;
            Sums& s = (*map)[map == &byCategory ? CategoryText(g) : PairText(g)];
            s.committed = s.committed + g.empYear;
            s.liquidated = s.liquidated + g.liqYear;
            s.allocation = s.allocation + g.dotac + g.altTo2;
        }
    }
    for (auto [map, file] : {std::pair{&byCategory, kDesRzda}, std::pair{&byPair, kDfsRzda}}) {
        if (!c.files[file].Usable())
            continue;
        QStringList rows;
        for (const auto& [name, s] : *map) {
            if (s.liquidated.Units() > s.committed.Units())
                rows << u"%1: liquidado %2 acima do empenhado %3"_s.arg(name, MoneyDisplay(s.liquidated),
                                                                        MoneyDisplay(s.committed));
            if (s.committed.Units() > s.allocation.Units())
                rows << u"%1: empenhado %2 acima da dotação atualizada %3"_s.arg(
                    name, MoneyDisplay(s.committed), MoneyDisplay(s.allocation));
        }
        if (!rows.isEmpty())
            out.push_back(Finding(file, u"execução do ano acima do empenho ou da dotação"_s, Listed(rows)));
    }
}

void DeductionsWithinRevenue(const CheckContext& c, std::vector<CheckFinding>& out) {
    const auto& deductions = c.figures.expected[kDedRzda];
    const auto& revenue = c.figures.expected[kRecRzda];
    if (!deductions || !revenue)
        return;
    QStringList rows;
    for (const auto& [key, figures] : *deductions) {
        // 97... pairs with 17...: the same code with its first "9" read as "1".
        const std::string revenueKey = "1" + key.substr(1);
        const auto it = revenue->find(revenueKey);
        for (std::size_t month = 0; month < 2; ++month) {
            const Currency deducted = figures.amounts[month * 2];
            const Currency received = it == revenue->end() ? Currency() : it->second.amounts[month * 2];
            if (deducted.Units() > received.Units())
                rows << u"%1 no %2º mês: dedução %3, receita %4 de %5"_s.arg(KeyText(key))
                            .arg(month + 1)
                            .arg(MoneyDisplay(deducted), MoneyDisplay(received), KeyText(revenueKey));
        }
    }
    if (!rows.isEmpty())
        out.push_back(Finding(kDedRzda, u"dedução maior que a receita do mês"_s, Listed(rows)));
}

bool IsFunction10(const std::string& text) {
    std::string_view digits = text;
    while (digits.starts_with(' '))
        digits.remove_prefix(1);
    while (digits.ends_with(' '))
        digits.remove_suffix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size() && value == 10;
}

std::int64_t Function10Cents(const FileOnDisk& file, std::size_t amount) {
    std::int64_t total = 0;
    for (const FileLine& line : file.lines)
        if (amount < line.cents.size() && IsFunction10(line.fields[0]))
            total += line.cents[amount];
    return total;
}

void HealthWithinFunction10(const CheckContext& c, std::vector<CheckFinding>& out) {
    const FileOnDisk& dso = c.files[kDsoOrcd];
    const FileOnDisk& dfsOrcd = c.files[kDfsOrcd];
    if (dso.Usable() && dfsOrcd.Usable() && TotalCents(dso, 0) > Function10Cents(dfsOrcd, 0))
        out.push_back(Finding(kDsoOrcd, u"a dotação da saúde passa da dotação da função 10"_s,
                              {u"DSO_ORCD.TXT: %1"_s.arg(Money(TotalCents(dso, 0))),
                               u"DFS_ORCD.TXT, função 10: %1"_s.arg(Money(Function10Cents(dfsOrcd, 0)))}));
    const FileOnDisk& dsa = c.files[kDsaOrcd];
    const FileOnDisk& dfsRzda = c.files[kDfsRzda];
    if (!dsa.Usable() || !dfsRzda.Usable())
        return;
    QStringList rows;
    for (std::size_t month = 0; month < 2; ++month) {
        const std::int64_t health = TotalCents(dsa, month * 2);
        const std::int64_t function10 = Function10Cents(dfsRzda, month * 3 + 1);
        if (health > function10)
            rows << u"liquidado no %1º mês: DSA_ORCD.TXT %2, DFS_RZDA.TXT função 10 %3"_s.arg(month + 1).arg(
                Money(health), Money(function10));
    }
    if (!rows.isEmpty())
        out.push_back(Finding(kDsaOrcd, u"o liquidado da saúde passa o da função 10"_s, rows));
}

void PostingsOnNoFile(const CheckContext& c, std::vector<CheckFinding>& out) {
    if (c.figures.ninePostings.empty() || !(c.files[kRecRzda].wanted || c.files[kDedRzda].wanted))
        return;
    QStringList rows;
    Currency total;
    for (const auto& [code, amount] : c.figures.ninePostings) {
        rows << u"%1: %2"_s.arg(KeyText(code), MoneyDisplay(amount));
        total = total + amount;
    }
    out.push_back(
        Finding(u"receita lançada no bimestre em códigos 9 (não 97), que não vão a arquivo nenhum: %1"_s.arg(
                    MoneyDisplay(total)),
                Listed(rows)));
}

void CodesThatMeet(const CheckContext& c, std::vector<CheckFinding>& out) {
    for (auto [codes, budget] :
         {std::pair{&c.figures.recdisCodes, false}, std::pair{&c.figures.recorcCodes, true}}) {
        std::map<FileIndex, QStringList> rows;
        for (const auto& [written, stored] : *codes) {
            if (stored.size() < 2)
                continue;
            QStringList names;
            for (const std::string& code : stored)
                names << KeyText(code);
            const QString row = u"%1 vem de %2"_s.arg(KeyText(written), names.join(u", "_s));
            const bool deduction = written.starts_with("9.7");
            if (budget)
                rows[kDedOrcd] << row;
            else if (deduction)
                rows[kDedRzda] << row;
            else {
                rows[kRecOrcd] << row;
                rows[kRecRzda] << row;
            }
        }
        for (const auto& [file, list] : rows)
            if (c.files[file].wanted)
                out.push_back(Finding(file, u"códigos diferentes no banco que o arquivo escreve iguais"_s,
                                      Listed(list)));
    }
}

void NegativeOrEmpty(const CheckContext& c, std::vector<CheckFinding>& out) {
    for (std::size_t f = 0; f < kFileCount; ++f) {
        const auto file = static_cast<FileIndex>(f);
        const FileOnDisk& disk = c.files[f];
        const FileLayout& layout = Layout(file);
        if (disk.wanted && !disk.present && !c.request.filesNamed && disk.written == nullptr) {
            out.push_back(Finding(file, u"o arquivo não está na pasta"_s));
            continue;
        }
        if (!disk.Usable())
            continue;
        QStringList rows;
        for (const FileLine& line : disk.lines)
            for (std::size_t i = 0; i < line.cents.size(); ++i)
                if (line.cents[i] < 0 && (layout.alterationAmounts & (1u << i)) == 0)
                    rows << u"linha %1, %2, campo %3: %4"_s.arg(line.number)
                                .arg(KeyText(line.key))
                                .arg(layout.keyFields + i + 1)
                                .arg(Money(line.cents[i]));
        if (!rows.isEmpty())
            out.push_back(Finding(file, u"%1 valor(es) negativo(s)"_s.arg(rows.size()), Listed(rows)));
        const bool rowsInDatabase = file == kDedOrcd ? c.figures.recorcRows
                                    : (file == kRecOrcd || file == kRecRzda || file == kDedRzda)
                                        ? c.figures.recdisRows
                                        : c.figures.desdisRows;
        if (disk.lines.empty() && disk.bytes.empty() && rowsInDatabase)
            out.push_back(
                Finding(file, u"o arquivo está vazio, mas o banco tem lançamentos das entidades"_s));
    }
}

constexpr CheckDefinition kChecks[] = {
    {"E01", CheckKind::Error, "Arquivo íntegro: bytes gravados, fim de linha, campos e valores", &WholeFiles},
    {"E02", CheckKind::Error, "Chaves únicas; demonstrativos da saúde com as oito linhas", &UniqueKeys},
    {"E03", CheckKind::Error, "Chaves iguais entre orçado e realizado", &SameKeys},
    {"E04", CheckKind::Error, "Linhas e valores iguais aos do banco", &AgainstDatabase},
    {"W01", CheckKind::Warning, "Orçado e executado iguais por categoria e por função",
     &BudgetAndExecutionAgree},
    {"W02", CheckKind::Warning, "Empenhos do bimestre que ficam fora dos arquivos", &CommitmentsLeftOut},
    {"W03", CheckKind::Warning, "Liquidado até o empenhado, empenhado até a dotação atualizada",
     &ExecutionWithinBudget},
    {"W04", CheckKind::Warning, "Dedução até a receita do mês", &DeductionsWithinRevenue},
    {"W05", CheckKind::Warning, "Saúde dentro da função 10", &HealthWithinFunction10},
    {"W06", CheckKind::Warning, "Receita em códigos 9 que não vão a arquivo", &PostingsOnNoFile},
    {"W07", CheckKind::Warning, "Códigos distintos escritos iguais", &CodesThatMeet},
    {"W08", CheckKind::Warning, "Valores negativos; arquivo vazio ou ausente", &NegativeOrEmpty},
};

} // namespace

std::span<const CheckDefinition> CheckTable() {
    return kChecks;
}

} // namespace lrf::check
