#include "MasterData.h"

#include "Windows1252.h"

#include <cstdint>
#include <map>
#include <stdexcept>

namespace lrf::sample {
namespace {

using tools::Row;
using tools::Value;

// Deterministic: the same scale always gives the same database.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed) {}
    int Between(int low, int high) {
        state_ = state_ * 1103515245u + 12345u;
        return low + static_cast<int>((state_ >> 16) % static_cast<std::uint32_t>(high - low + 1));
    }

private:
    std::uint32_t state_;
};

std::string Money(std::int64_t cents) {
    const std::int64_t whole = cents / 100, rest = cents < 0 ? -(cents % 100) : cents % 100;
    std::string text = (cents < 0 && whole == 0 ? "-" : "") + std::to_string(whole) + ".";
    return text + (rest < 10 ? "0" : "") + std::to_string(rest);
}

// An amount near the given yearly figure, in whole reais, as budgets are written.
std::int64_t BudgetCents(std::int64_t reais, int percent, Random& random) {
    return reais * percent / 100 * random.Between(80, 120) / 100 * 100;
}

const char* const kSources[] = {"100", "101", "102", "104", "114", "150", "190", "191", "192", "194"};

struct Entity {
    int code;
    const char* name;
    const char* cnpj;
    const char* acronym;
    int sizePercent; // of the town hall's spending, for the allocation amounts
};

const Entity kEntities[] = {
    {1, "Prefeitura Municipal de São José do Rio Claro", "03.239.019/0001-67", "PMSJRC", 100},
    {2, "Câmara Municipal de São José do Rio Claro", "33.000.456/0001-10", "CMSJRC", 35},
    {3, "Fundo Municipal de Saúde", "11.308.617/0001-02", "FMS", 90},
    {4, "Instituto de Previdência dos Servidores Municipais", "04.512.774/0001-30", "PREVI", 50},
    {5, "Fundo Municipal de Assistência Social", "14.921.554/0001-85", "FMAS", 25},
};

struct RevenueLine {
    int entity;
    const char* code;
    const char* description;
    std::int64_t yearlyReais; // 0: an unbudgeted revenue, TOTOR stays NULL
};

// Deduction codes (97...) carry negative budgets, as the revenue they reduce is positive.
const RevenueLine kRevenue[] = {
    {1, "1112.02.00", "Imposto sobre a Propriedade Predial e Territorial Urbana", 1250000},
    {1, "1112.04.31", "IRRF sobre Rendimentos do Trabalho", 1600000},
    {1, "1112.08.00", "Imposto sobre Transmissão Inter Vivos de Bens Imóveis", 850000},
    {1, "1113.05.00", "Imposto sobre Serviços de Qualquer Natureza", 2700000},
    {1, "1121.99.00", "Outras Taxas pelo Exercício do Poder de Polícia", 420000},
    {1, "1230.00.00", "Contribuição para o Custeio da Iluminação Pública", 900000},
    {1, "1325.01.00", "Remuneração de Depósitos Bancários", 350000},
    {1, "1721.01.02", "Cota-Parte do Fundo de Participação dos Municípios", 19800000},
    {1, "1721.01.05", "Cota-Parte do Imposto Territorial Rural", 1100000},
    {1, "1721.33.00", "Transferências de Recursos do SUS", 1500000},
    {1, "1721.35.00", "Transferências do Salário-Educação", 700000},
    {1, "1721.36.00", "Transferência Financeira do ICMS - Desoneração L.C. 87/96", 60000},
    {1, "1722.01.01", "Cota-Parte do ICMS", 16500000},
    {1, "1722.01.02", "Cota-Parte do IPVA", 2300000},
    {1, "1724.01.00", "Transferências do FUNDEB", 9400000},
    {1, "1922.10.00", "Restituições de Benefícios não Previdenciários", 0},
    {1, "2422.01.00", "Transferências de Convênios do Estado", 3000000},
    {1, "9112.02.00", "Renúncia de Receita - IPTU", -80000},
    {1, "9721.01.02", "Dedução de Receita para Formação do FUNDEB - FPM", -3960000},
    {1, "9721.01.05", "Dedução de Receita para Formação do FUNDEB - ITR", -220000},
    {1, "9721.36.00", "Dedução de Receita para Formação do FUNDEB - L.C. 87/96", -12000},
    {1, "9722.01.01", "Dedução de Receita para Formação do FUNDEB - ICMS", -3300000},
    {1, "9722.01.02", "Dedução de Receita para Formação do FUNDEB - IPVA", -460000},
    {1, "9913.05.00", "Restituição de ISS", -30000},
    {2, "1325.01.00", "Remuneração de Depósitos Bancários", 45000},
    {2, "1922.10.00", "Restituições de Benefícios não Previdenciários", 0},
    {3, "1325.01.00", "Remuneração de Depósitos Bancários", 80000},
    {3, "1721.33.00", "Transferências de Recursos do SUS", 6200000},
    {3, "1722.33.00", "Transferências de Recursos do Estado para o SUS", 900000},
    {3, "2422.01.00", "Transferências de Convênios do Estado", 1200000},
    {4, "1210.29.07", "Contribuição do Servidor Ativo Civil para o RPPS", 3100000},
    {4, "1325.01.00", "Remuneração de Depósitos Bancários", 2400000},
    {4, "7210.29.01", "Contribuição Patronal de Servidor Ativo Civil", 4300000},
    {5, "1325.01.00", "Remuneração de Depósitos Bancários", 12000},
    {5, "1721.34.00", "Transferências do Fundo Nacional de Assistência Social", 650000},
};

struct Category {
    const char* description;
    std::int64_t yearlyReais; // for an entity the size of the town hall
};

const std::map<std::string, Category> kCategories = {
    {"3.1.90.01.00", {"Aposentadorias e Reformas", 400000}},
    {"3.1.90.03.00", {"Pensões", 120000}},
    {"3.1.90.04.00", {"Contratação por Tempo Determinado", 300000}},
    {"3.1.90.07.00", {"Contribuição a Entidades Fechadas de Previdência", 20000}},
    {"3.1.90.09.00", {"Salário-Família", 15000}},
    {"3.1.90.11.00", {"Vencimentos e Vantagens Fixas - Pessoal Civil", 1200000}},
    {"3.1.90.13.00", {"Obrigações Patronais", 250000}},
    {"3.1.90.16.00", {"Outras Despesas Variáveis - Pessoal Civil", 60000}},
    {"3.1.90.34.00", {"Outras Despesas de Pessoal - Terceirização", 150000}},
    {"3.1.90.94.00", {"Indenizações e Restituições Trabalhistas", 30000}},
    {"3.1.91.13.00", {"Obrigações Patronais - Intra-Orçamentárias", 180000}},
    {"3.2.90.21.00", {"Juros sobre a Dívida por Contrato", 90000}},
    {"3.3.50.43.00", {"Subvenções Sociais", 120000}},
    {"3.3.71.70.00", {"Rateio pela Participação em Consórcio Público", 300000}},
    {"3.3.90.14.00", {"Diárias - Civil", 40000}},
    {"3.3.90.30.00", {"Material de Consumo", 350000}},
    {"3.3.90.33.00", {"Passagens e Despesas com Locomoção", 25000}},
    {"3.3.90.36.00", {"Outros Serviços de Terceiros - Pessoa Física", 80000}},
    {"3.3.90.39.00", {"Outros Serviços de Terceiros - Pessoa Jurídica", 600000}},
    {"3.3.90.47.00", {"Obrigações Tributárias e Contributivas", 25000}},
    {"3.3.90.48.00", {"Outros Auxílios Financeiros a Pessoas Físicas", 100000}},
    {"4.4.90.51.00", {"Obras e Instalações", 800000}},
    {"4.4.90.52.00", {"Equipamentos e Material Permanente", 200000}},
    {"4.5.90.61.00", {"Aquisição de Imóveis", 250000}},
    {"4.6.90.71.00", {"Principal da Dívida Contratual Resgatado", 300000}},
    {"9.9.99.99.00", {"Reserva de Contingência", 500000}},
};

#define PERSONNEL "3.1.90.04.00", "3.1.90.11.00", "3.1.90.13.00", "3.1.90.16.00", "3.1.91.13.00"
#define SERVICES "3.3.90.14.00", "3.3.90.30.00", "3.3.90.36.00", "3.3.90.39.00"
#define CAPITAL "4.4.90.51.00", "4.4.90.52.00"

struct Allocation {
    int entity;
    const char* function;
    const char* subfunction;
    const char* program;
    std::vector<const char*> categories;
};

const Allocation kAllocations[] = {
    {1, "04", "122", "0004", {PERSONNEL, SERVICES, CAPITAL, "3.1.90.94.00", "3.3.90.47.00"}},
    {1, "04", "123", "0005", {PERSONNEL, SERVICES}},
    {1, "10", "301", "0010", {PERSONNEL, SERVICES, "3.3.90.48.00"}},
    {1, "12", "361", "0012", {PERSONNEL, SERVICES, CAPITAL, "3.1.90.09.00"}},
    {1, "12", "365", "0013", {PERSONNEL, SERVICES, CAPITAL}},
    {1, "13", "392", "0016", {SERVICES}},
    {1, "15", "452", "0020", {PERSONNEL, SERVICES, CAPITAL}},
    {1, "20", "606", "0024", {SERVICES, CAPITAL}},
    {1, "26", "782", "0026", {SERVICES, CAPITAL}},
    {1, "27", "812", "0027", {SERVICES, "3.3.50.43.00"}},
    {1, "28", "843", "0000", {"3.2.90.21.00", "4.6.90.71.00"}},
    {1, "99", "999", "9999", {"9.9.99.99.00"}},
    {2, "01", "031", "0001", {PERSONNEL, SERVICES, CAPITAL, "3.3.90.33.00"}},
    {3,
     "10",
     "122",
     "0030",
     {PERSONNEL, SERVICES, "3.1.90.01.00", "3.1.90.03.00", "3.2.90.21.00", "4.6.90.71.00"}},
    {3, "10", "301", "0031", {PERSONNEL, SERVICES, CAPITAL, "3.1.90.07.00", "3.1.90.34.00", "3.1.90.94.00"}},
    {3, "10", "302", "0032", {PERSONNEL, SERVICES, CAPITAL, "3.3.71.70.00", "4.5.90.61.00", "3.1.90.34.00"}},
    {3, "10", "303", "0033", {SERVICES}},
    {3, "10", "304", "0034", {PERSONNEL, SERVICES}},
    {3, "10", "305", "0035", {PERSONNEL, SERVICES}},
    {4, "09", "272", "0040", {"3.1.90.01.00", "3.1.90.03.00", "3.3.90.47.00"}},
    {4, "09", "122", "0041", {PERSONNEL, SERVICES, CAPITAL}},
    {5, "08", "244", "0050", {PERSONNEL, SERVICES, "3.3.90.48.00", "3.3.50.43.00"}},
    {5, "08", "243", "0051", {SERVICES}},
    {5, "08", "241", "0052", {SERVICES}},
};

#undef PERSONNEL
#undef SERVICES
#undef CAPITAL

// Items outside the budget (EXTRA 'S'): withholdings and payables carry no allocation, mostly no
// category either; one legacy budget item was migrated without a category.
struct OffBudgetItem {
    int entity;
    const char* function;
    const char* subfunction;
    const char* category; // nullptr: NULL
    const char* extra;
    std::int64_t yearlyReais; // 0: NULL
    const char* description;
};

const OffBudgetItem kOffBudget[] = {
    {1, "00", "000", nullptr, "S", 0, "Consignações - INSS Retido"},
    {1, "00", "000", nullptr, "S", 0, "Imposto de Renda Retido na Fonte"},
    {1, "04", "122", "3.3.90.39.00", "S", 0, "Restos a Pagar não Processados"},
    {2, "00", "000", nullptr, "S", 0, "Consignações - INSS Retido"},
    {2, "01", "031", nullptr, "N", 10000, "Dotação Migrada sem Classificação"},
    {3, "00", "000", nullptr, "S", 0, "Consignações - INSS Retido"},
    {3, "10", "301", "3.3.90.30.00", "S", 0, "Restos a Pagar não Processados"},
    {4, "00", "000", nullptr, "S", 0, "Consignações Bancárias"},
    {5, "00", "000", nullptr, "S", 0, "Consignações - INSS Retido"},
};

Value Text(const char* utf8) {
    return utf8 ? Value(Windows1252FromUtf8(utf8)) : std::nullopt;
}

int SizeOf(int entity) {
    for (const Entity& e : kEntities)
        if (e.code == entity)
            return e.sizePercent;
    throw std::logic_error("unknown entity " + std::to_string(entity));
}

} // namespace

std::vector<TableRows> BuildMasterData(int scale) {
    TableRows entities{"INSERT INTO TABEMPRESA (EMPRESA, NOME, CNPJ, SIGLA, ENDERECO) VALUES (?, ?, ?, ?, ?)",
                       {}};
    for (const Entity& e : kEntities)
        entities.rows.push_back({std::to_string(e.code), Text(e.name), e.cnpj, e.acronym,
                                 Text("Avenida Mato Grosso, 1200 - Centro")});

    TableRows client{
        "INSERT INTO CADCLI (CODCLI, NOME, MUNICIPIO, UF, CODIBGE) VALUES (?, ?, ?, ?, ?)",
        {{"1", Text("Município de São José do Rio Claro"), Text("São José do Rio Claro"), "MT", "5107404"}}};

    Random random(20240101u);
    TableRows budget{"INSERT INTO RECORC (EMPRESA, CODRE, DESCRICAO, TOTOR) VALUES (?, ?, ?, ?)", {}};
    TableRows revenueItems{
        "INSERT INTO RECDIS (FICHA, EMPRESA, CODRE, FONTE, DESCRICAO, TOTOR) VALUES (?, ?, ?, ?, ?, ?)", {}};
    int ficha = 0;
    for (const RevenueLine& line : kRevenue) {
        std::int64_t total = 0;
        for (int k = 0; k < scale; ++k) {
            Value totor;
            if (line.yearlyReais != 0) {
                const std::int64_t cents = BudgetCents(line.yearlyReais, 100, random);
                total += cents;
                totor = Money(cents);
            }
            revenueItems.rows.push_back({std::to_string(++ficha), std::to_string(line.entity), line.code,
                                         kSources[k % 10], Text(line.description), totor});
        }
        if (line.yearlyReais != 0)
            budget.rows.push_back(
                {std::to_string(line.entity), line.code, Text(line.description), Money(total)});
    }

    TableRows expenseItems{"INSERT INTO DESDIS (FICHA, EMPRESA, FUNCAO, SUBFUNCAO, PROGRAMA, ACAO, CATEC, "
                           "FONTE, DOTAC, EXTRA, DESCRICAO) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                           {}};
    ficha = 0;
    for (int k = 0; k < scale; ++k) {
        const std::string action = std::to_string(2001 + k / 10);
        for (const Allocation& a : kAllocations)
            for (const char* catec : a.categories) {
                const Category& category = kCategories.at(catec);
                const std::int64_t cents = BudgetCents(category.yearlyReais, SizeOf(a.entity), random);
                expenseItems.rows.push_back({std::to_string(++ficha), std::to_string(a.entity), a.function,
                                             a.subfunction, a.program, action, catec, kSources[k % 10],
                                             Money(cents), "N", Text(category.description)});
            }
        for (const OffBudgetItem& item : kOffBudget)
            expenseItems.rows.push_back(
                {std::to_string(++ficha), std::to_string(item.entity), item.function, item.subfunction,
                 "0000", action, item.category ? Value(item.category) : std::nullopt, kSources[k % 10],
                 item.yearlyReais ? Value(Money(item.yearlyReais * 100)) : std::nullopt, item.extra,
                 Text(item.description)});
    }
    return {entities, client, budget, revenueItems, expenseItems};
}

} // namespace lrf::sample
