#pragma once
// Each test file registers its QtTest class here; main runs them all.
#include <QtTest>
#include <functional>
#include <vector>

std::vector<std::function<int(int, char**)>>& AppTestClasses();

#define LRF_APP_TEST(Class)                                                                                  \
    static const bool registered##Class = [] {                                                               \
        AppTestClasses().push_back([](int argc, char** argv) {                                               \
            Class test;                                                                                      \
            return QTest::qExec(&test, argc, argv);                                                          \
        });                                                                                                  \
        return true;                                                                                         \
    }();
