// Runs every window test class in one process: the embedded engine and the fixtures are set up once.
#include <QApplication>
#include <QtTest>

#include <functional>
#include <vector>

std::vector<std::function<int(int, char**)>>& AppTestClasses();

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    int failed = 0;
    for (const auto& run : AppTestClasses())
        failed += run(argc, argv);
    return failed == 0 ? 0 : 1;
}

std::vector<std::function<int(int, char**)>>& AppTestClasses() {
    static std::vector<std::function<int(int, char**)>> classes;
    return classes;
}
