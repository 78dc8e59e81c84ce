// Prints the ten statements of one run (no entity ticked) as an isql script.
#include "export/ExportSteps.h"
#include "export/Period.h"

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lrf-bench-statements BIMESTRE ANO\n");
        return 64;
    }
    try {
        const lrf::Period period = lrf::PeriodOfBimester(std::atoi(argv[1]), QString::fromUtf8(argv[2]));
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
