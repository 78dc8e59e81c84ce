// Prints the ten statements of one run (no entity ticked) as an isql script.
#include "export/ExportSteps.h"
#include "export/Period.h"
#include "settings/AsciiText.h"

#include <QString>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    const auto bimester = argc == 3 ? lrf::ParseWholeNumber<int>(argv[1]) : std::nullopt;
    if (!bimester || *bimester < 1 || *bimester > 6) {
        std::fprintf(stderr, "usage: lrf-bench-statements BIMESTRE ANO (BIMESTRE from 1 to 6)\n");
        return 64;
    }
    try {
        const lrf::Period period = lrf::PeriodOfBimester(*bimester, QString::fromUtf8(argv[2]));
        for (const lrf::ExportStep& step : lrf::ExportSteps()) {
            if (step.generator == nullptr)
                continue;
            std::printf("-- %.*s\n%s;\n", static_cast<int>(step.generator->fileName.size()),
                        step.generator->fileName.data(),
                        step.generator->buildSql(period, std::string()).c_str());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    }
    return 0;
}
