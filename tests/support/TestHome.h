#pragma once

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Points the home, config and data folders at a fresh temporary folder and
// reopens the settings there, so no test touches the real user's files.
class TestHome {
public:
    TestHome();
    ~TestHome();

    QString path() const { return m_dir.path(); }
    QString dataFolder() const;
    QString configFolder() const;

private:
    QTemporaryDir m_dir;
};

// Test fixture that gives every test its own home.
class HomeTest : public ::testing::Test {
protected:
    TestHome home;
};
