#pragma once

#include "TestEnvironment.h"

#include <QTest>

// main() of a test: its own home, config and runtime folders and a bus nobody listens on (set
// before the application reads them), the application object of the given class, and the
// program's name, which the settings paths are built from.
#define TIPDESK_TEST_MAIN_WITH(ApplicationClass, TestClass)                                        \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        TestEnvironment environment;                                                               \
        ApplicationClass app(argc, argv);                                                          \
        QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));                           \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
