#pragma once
// A database whose REC_ORCD statement takes its time, for what must go on while a statement runs:
// RECDIS is a view whose every row (four of them) first counts to `spinsPerRow` in PSQL, some ten
// million a second on an idle machine, as a large city's statement keeps the engine busy. DED_ORCD
// reads the plain table RECORC and is quick.
#include <string>
#include <vector>

namespace lrf::test {

// Each statement is committed on its own (a table must exist before it is filled).
inline std::vector<std::string> SlowStatementDatabase(long spinsPerRow) {
    return {
        "CREATE TABLE TABEMPRESA (EMPRESA INTEGER, NOME VARCHAR(60))",
        "CREATE TABLE RECORC (CODRE VARCHAR(20), TOTOR NUMERIC(18,4), EMPRESA INTEGER)",
        "CREATE TABLE RECDIS_ROWS (FICHA INTEGER, CODRE VARCHAR(20), TOTOR NUMERIC(18,4), EMPRESA INTEGER)",
        "CREATE FUNCTION SPIN (N INTEGER) RETURNS INTEGER AS DECLARE I INTEGER = 0; "
        "BEGIN WHILE (I < N) DO I = I + 1; RETURN 0; END",
        "CREATE VIEW RECDIS (FICHA, CODRE, TOTOR, EMPRESA) AS SELECT FICHA, CODRE, TOTOR, EMPRESA "
        "FROM RECDIS_ROWS WHERE SPIN(" +
            std::to_string(spinsPerRow) + ") = 0",
        "GRANT SELECT ON TABEMPRESA TO PUBLIC",
        "GRANT SELECT ON RECORC TO PUBLIC",
        "GRANT SELECT ON RECDIS_ROWS TO VIEW RECDIS",
        "GRANT EXECUTE ON FUNCTION SPIN TO VIEW RECDIS",
        "GRANT SELECT ON RECDIS TO PUBLIC",
        "INSERT INTO TABEMPRESA VALUES (1, 'PREFEITURA')",
        "INSERT INTO RECORC VALUES ('9721.01.00', -300, 1)",
        "INSERT INTO RECDIS_ROWS VALUES (1, '1112.01.00', 1000, 1)",
        "INSERT INTO RECDIS_ROWS VALUES (2, '1112.02.00', 150, 1)",
        "INSERT INTO RECDIS_ROWS VALUES (3, '1113.01.00', 20, 1)",
        "INSERT INTO RECDIS_ROWS VALUES (4, '1114.01.00', 5, 1)",
    };
}

// REC_ORCD.TXT of that database, bimester 2 of 2024.
inline const char* kSlowRecOrcd = "1.1.1.2.01.00;1000,00;\r\n1.1.1.2.02.00;150,00;\r\n"
                                  "1.1.1.3.01.00;20,00;\r\n1.1.1.4.01.00;5,00;\r\n";

} // namespace lrf::test
