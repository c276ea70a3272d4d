// The main of every layer's test program: runs one of the program's test classes.
//   PROGRAM CLASS [Qt Test arguments]   runs CLASS as its own QTEST_MAIN would
//   PROGRAM -classes                     lists the classes
#include "test_main.h"

#include <QtTest>

#include <cstdio>
#include <cstring>
#include <vector>

#if defined(QT_WIDGETS_LIB)
#include <QApplication>
using MainApplication = QApplication;
#elif defined(QT_GUI_LIB)
#include <QGuiApplication>
using MainApplication = QGuiApplication;
#else
using MainApplication = QCoreApplication;
#endif

namespace miroven_test {
namespace {

// Filled by the static initialisers of the test files, so built on first use.
std::vector<TestClass> &testClasses()
{
    static std::vector<TestClass> classes;
    return classes;
}

template <typename App>
int run(const TestClass &test, int argc, char **argv)
{
    App app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    std::unique_ptr<QObject> object = test.make();
    return QTest::qExec(object.get(), argc, argv);
}

void listClasses(std::FILE *to)
{
    for (const TestClass &test : testClasses())
        std::fprintf(to, "%s\n", test.name);
}

} // namespace

bool registerTestClass(const TestClass &test)
{
    testClasses().push_back(test);
    return true;
}

} // namespace miroven_test

int main(int argc, char *argv[])
{
    using namespace miroven_test;
    if (argc >= 2 && std::strcmp(argv[1], "-classes") == 0) {
        listClasses(stdout);
        return 0;
    }
    const TestClass *chosen = nullptr;
    if (argc >= 2) {
        for (const TestClass &test : testClasses()) {
            if (std::strcmp(argv[1], test.name) == 0)
                chosen = &test;
        }
    }
    if (chosen == nullptr) {
        if (argc >= 2)
            std::fprintf(stderr, "%s: no test class named %s\n", argv[0], argv[1]);
        std::fprintf(stderr, "usage: %s CLASS [Qt Test arguments] | -classes\nclasses:\n", argv[0]);
        listClasses(stderr);
        return 2;
    }
    // Qt Test sees the program and the arguments after the class, as if they were its own.
    std::vector<char *> args{argv[0]};
    args.insert(args.end(), argv + 2, argv + argc);
    args.push_back(nullptr);
    int count = argc - 1;
    chosen->initMain();
    if (chosen->application == Application::Guiless)
        return run<QCoreApplication>(*chosen, count, args.data());
    return run<MainApplication>(*chosen, count, args.data());
}
