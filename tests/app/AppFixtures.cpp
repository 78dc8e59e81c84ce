#include "AppFixtures.h"

#include "tools/DatabaseWriter.h"
#include "tools/KorvSchema.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <filesystem>
#include <fstream>

namespace lrf::test {

std::string MakeInstallation(const std::string& name, const std::string& ano, bool withDatabase,
                             const std::vector<std::string>& statements) {
    const std::filesystem::path root = std::filesystem::path(LRF_TEST_TMP) / ("app-" + name);
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / ("ARQ" + ano));
    if (withDatabase) {
        tools::DatabaseWriter db =
            tools::DatabaseWriter::Create((root / ("ARQ" + ano) / ("KORV" + ano + ".FDB")).string());
        for (const std::string& statement : statements)
            db.Execute(statement);
    }
    const std::filesystem::path ini = root / "Korv.ini";
    std::ofstream(ini) << "[KORV]\nano=" << ano << "\nCaminho_Base_Dados=" << root.string() << "/\n";
    return ini.string();
}

std::string EntitiesInstallation() {
    static const std::string ini =
        MakeInstallation("entities", "2024", true,
                         {tools::CreateTableSql("TABEMPRESA"), tools::GrantSelectSql("TABEMPRESA"),
                          "INSERT INTO TABEMPRESA VALUES (12, 'Sa\xFA"
                          "de')",
                          "INSERT INTO TABEMPRESA VALUES (1, 'Prefeitura')",
                          "INSERT INTO TABEMPRESA VALUES (2, 'C\xE2mara')"});
    return ini;
}

std::string DriverFolder() {
    return std::string(LRF_BIN_DIR) + "/";
}

void BoxCloser::Arm() {
    QTimer::singleShot(20, this, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes.push_back({box->windowTitle(), box->text(), box->icon(), box->detailedText()});
            box->buttons().front()->click();
        }
        Arm();
    });
}

} // namespace lrf::test
