#pragma once

#include "BackupFolder.h"
#include "ImportProgress.h"
#include "MacModel.h"
#include "MediaBackup.h"
#include "ModelContainer.h"
#include "PasswordCheck.h"
#include "Post.h"
#include "TamselStore.h"
#include "TestHome.h"

#include <QDir>
#include <QTest>
#include <chrono>
#include <memory>

// The login-password check the private-space tests script.
class FakePasswordCheck : public PasswordCheck {
public:
    enum class Answer { right, wrong, broken };

    QCoro::Task<bool> verify(QString password) override
    {
        lastPassword = password;
        if (answer == Answer::broken)
            throw CheckError(QStringLiteral("认证服务不可用"));
        co_return answer == Answer::right;
    }

    Answer answer = Answer::right;
    QString lastPassword;
};

// A model on a fresh home with its own store on disk, short delays and a
// scripted password check.
class ModelTest : public HomeTest {
protected:
    static constexpr std::chrono::milliseconds shortDelay{30};

    static MacModel::Delays shortDelays()
    {
        MacModel::Delays delays;
        delays.toast = shortDelay;
        delays.syncAfterSave = shortDelay;
        delays.fetchLatest = shortDelay;
        delays.mainWindowClosed = shortDelay;
        return delays;
    }

    ModelTest() { BackupFolder::resetLegacyMigrationForTesting(); }
    // The importer's own background work ends before its store goes.
    ~ModelTest() override
    {
        settle([this] {
            return ImportProgress::shared().phases().isEmpty() && !MediaBackup::shared().running() &&
                   !(model && model->syncing());
        });
        idle();
    }

    void makeModel(MacModel::Delays delays = shortDelays())
    {
        auto check = std::make_unique<FakePasswordCheck>();
        password = check.get();
        model = std::make_unique<MacModel>(std::move(check), delays);
    }

    // A backup folder chosen by the user.
    QString chooseFolder()
    {
        const QString folder = home.path() + QStringLiteral("/shared/Kepsel");
        QDir().mkpath(folder);
        BackupFolder::setFolder(folder);
        return folder;
    }

    ModelContext &context() { return model->container().mainContext(); }

    std::shared_ptr<Post> addPost(const QString &link)
    {
        auto post = std::make_shared<Post>(link, Platform::web);
        post->setParseState(ParseState::parsed);
        context().insert(post);
        context().save();
        return post;
    }

    // Lets detached work run until the condition holds (or a second passes).
    template <typename Condition> static bool settle(Condition condition)
    {
        return QTest::qWaitFor(condition, 2000);
    }
    static void idle(std::chrono::milliseconds time = shortDelay * 4) { QTest::qWait(int(time.count())); }

    FakePasswordCheck *password = nullptr;
    std::unique_ptr<MacModel> model;
};
