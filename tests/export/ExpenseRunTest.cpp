// The export run writing the six expense and health files from the fixture: the files on disk are the
// generators' lines byte for byte, and the log names each of them.
#include "ExpenseFixture.h"

#include "export/ExpenseCategoryFiles.h"
#include "export/ExpenseFunctionFiles.h"
#include "export/ExportRun.h"
#include "export/HealthStatements.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>

namespace lrf {
namespace {

using namespace Qt::StringLiterals;

class RecordingSink : public ExportSink {
public:
    QStringList log;
    void ClearLog() override { log.clear(); }
    void AppendLog(const QString& line) override { log.append(line); }
    void AppendFailure(const QString& line, const QString&, const QString&) override { log.append(line); }
    void SetOverallMaximum(int) override {}
    void SetOverallPosition(int) override {}
    void SetFileMaximum(int) override {}
    void SetFilePosition(int) override {}
    void BimesterMissing() override { log.append(u"<no bimester>"_s); }
};

std::string ReadBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

TEST(ExpenseRun, WritesTheSixFilesOfTheTickedEntities) {
    const std::string path = test::BuildExpenseDatabase("ExpenseRun.fdb", 3);
    const std::string folder = test::ExpenseTmpPath("ExpenseRun") + "/";
    std::filesystem::remove_all(folder);

    ExportRequest request;
    request.bimesterIndex = 1; // March and April
    request.fiscalYear = u"2010"_s;
    request.entities = test::TickedOneAndTwo();
    request.entityCodeLength = 1;
    request.folderText = QString::fromStdString(folder);
    const FileGenerator* const generators[] = {&kDesOrcd, &kDesRzda, &kDfsOrcd,
                                               &kDfsRzda, &kDsoOrcd, &kDsaOrcd};
    for (std::size_t i = 0; i < kStepCount; ++i)
        for (const FileGenerator* generator : generators)
            if (ExportSteps()[i].generator == generator)
                request.ticked[i] = true;

    TCRSQLConnection connection = test::OpenExpenseConnection(path);
    TSQLClientDataSet cds1(&connection);
    RecordingSink sink;
    const ExportResult result = RunExport(request, connection, cds1, sink, RegionalSettings{});

    EXPECT_EQ(result.filesCreated, 6);
    EXPECT_EQ(result.filesFailed, 0);
    EXPECT_EQ(sink.log, (QStringList{
                            u"Arquivo DES_ORCD.TXT criado com sucesso !"_s,
                            u"Arquivo DES_RZDA.TXT criado com sucesso !"_s,
                            u"Arquivo DFS_ORCD.TXT criado com sucesso !"_s,
                            u"Arquivo DFS_RZDA.TXT criado com sucesso !"_s,
                            u"Arquivo DSO_ORCD.TXT criado com sucesso !"_s,
                            u"Arquivo DSA_ORCD.TXT criado com sucesso !"_s,
                            u".: Finalizei :."_s,
                            u"6 arquivo(s) criado(s) com sucesso!"_s,
                            u"0 arquivo(s) não criado(s) por algum erro!"_s,
                        }));
    for (const FileGenerator* generator : generators) {
        SCOPED_TRACE(std::string(generator->fileName));
        const std::string expected = test::FileOf(connection, *generator, request.entities);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(ReadBytes(folder + std::string(generator->fileName)), expected);
    }
}

} // namespace
} // namespace lrf
