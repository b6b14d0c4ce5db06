#pragma once

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Points the home, config, data, cache and temporary folders at a fresh
// temporary folder and reopens the settings there, so no test touches the
// real user's files or the shared /tmp.
class TestHome {
public:
    TestHome();
    ~TestHome();

    QString path() const { return m_dir.path(); }
    QString dataFolder() const;
    QString configFolder() const;

private:
    QTemporaryDir m_dir;
    // Homes nest (the run's, then each test's): the enclosing home's
    // temporary folder comes back when this one goes.
    QByteArray m_outerTemp;
};

// Test fixture that gives every test its own home.
class HomeTest : public ::testing::Test {
protected:
    TestHome home;
};
