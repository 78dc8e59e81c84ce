#pragma once
// Installations on disk for the window tests, and a closer for the modal boxes the window opens.
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <string>
#include <vector>

namespace lrf::test {

// LRF_TEST_TMP/app-<name>/: a Korv.ini for year `ano` and, unless `withDatabase` is false, the database
// ARQ<ano>/KORV<ano>.FDB built from `statements`. Returns the Korv.ini path.
std::string MakeInstallation(const std::string& name, const std::string& ano, bool withDatabase,
                             const std::vector<std::string>& statements);

// An installation whose TABEMPRESA holds 1 Prefeitura, 2 Câmara and 12 Saúde (Windows-1252 names).
std::string EntitiesInstallation();

// The folder of this build's driver module (ending with "/").
std::string DriverFolder();

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString detailedText;
};

// While alive, closes every modal message box that opens (with its first button) and keeps what it said.
class BoxCloser : public QObject {
public:
    BoxCloser() { Arm(); }
    std::vector<SeenBox> boxes;

private:
    void Arm();
};

} // namespace lrf::test
