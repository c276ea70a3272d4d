// Test classes are gathered into one program per layer (tests/CMakeLists.txt). A test
// file ends with MIROVEN_TEST_MAIN(Class) or MIROVEN_TEST_GUILESS_MAIN(Class) where a
// program of its own would have QTEST_MAIN or QTEST_GUILESS_MAIN; the layer program's
// main (test_main.cpp) runs the class named by its first argument, with the same kind
// of application those macros make, and passes the rest to Qt Test:
//   build/tests/tests_core NumbersTest -functions
#pragma once

#include <QObject>
#include <QtTest>

#include <memory>

namespace miroven_test {

enum class Application { Main, Guiless };

struct TestClass {
    const char *name;
    Application application;
    void (*initMain)();
    std::unique_ptr<QObject> (*make)();
};

// Adds a class to the program's list; returns true, so that it can initialise a static.
bool registerTestClass(const TestClass &test);

} // namespace miroven_test

#define MIROVEN_TEST_REGISTER_(TestObject, kind)                                              \
    [[maybe_unused]] static const bool miroven_registered_##TestObject =                     \
        miroven_test::registerTestClass(                                                     \
            {#TestObject, kind, [] { QTest::Internal::callInitMain<TestObject>(); },         \
             []() -> std::unique_ptr<QObject> { return std::make_unique<TestObject>(); }});

#define MIROVEN_TEST_MAIN(TestObject)                                                         \
    MIROVEN_TEST_REGISTER_(TestObject, miroven_test::Application::Main)
#define MIROVEN_TEST_GUILESS_MAIN(TestObject)                                                 \
    MIROVEN_TEST_REGISTER_(TestObject, miroven_test::Application::Guiless)
