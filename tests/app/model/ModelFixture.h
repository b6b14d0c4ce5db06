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
#include "WaitFor.h"

#include <QDir>
#include <QTest>

// The login-password check, scripted: right, wrong, or none (cannot check).
class FakePasswordCheck : public PasswordCheck {
public:
    QCoro::Task<bool> verify(QString password) override
    {
        lastPassword = password;
        if (!answer)
            throw CheckError(QStringLiteral("认证服务不可用"));
        co_return *answer;
    }

    std::optional<bool> answer = true;
    QString lastPassword;
};

// A model on a fresh home with its own store on disk and short waits; toasts
// stay unless a test asks otherwise.
class ModelTest : public HomeTest {
protected:
    static constexpr std::chrono::milliseconds shortDelay{30};

    ModelTest() { BackupFolder::resetLegacyMigrationForTesting(); }
    // Background work ends before the store goes.
    ~ModelTest() override
    {
        settle([this] {
            return ImportProgress::shared().phases().isEmpty() && !MediaBackup::shared().running() &&
                   !(model && model->syncing());
        });
        idle();
    }

    static MacModel::Delays shortDelays()
    {
        return {std::chrono::seconds(30), shortDelay, shortDelay, shortDelay, std::chrono::minutes(1)};
    }
    void makeModel(MacModel::Delays delays = shortDelays())
    {
        auto check = std::make_unique<FakePasswordCheck>();
        password = check.get();
        model = std::make_unique<MacModel>(std::move(check), std::move(delays));
    }
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
    std::shared_ptr<Post> find(const QUuid &id)
    {
        for (const auto &post : context().fetch<Post>())
            if (post->id() == id)
                return post;
        return nullptr;
    }

    // Lets background work run until the condition holds (ten seconds at most).
    template <typename Condition> static bool settle(Condition condition)
    {
        return QTest::qWaitFor(condition, 10000);
    }
    // Lets every short delay started so far run out.
    static void idle() { TestAsync::runTimersDueWithin(shortDelay * 4); }

    FakePasswordCheck *password = nullptr;
    std::unique_ptr<MacModel> model;
};
