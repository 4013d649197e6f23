#include "fakes.h"

#include "platform/desktop/modal.h"
#include "platform/system/clock.h"

#include <QDialog>
#include <QRandomGenerator>

#include <memory>

FakeClock::FakeClock(QDateTime start) : now_(std::move(start))
{
    platform::setClockSource({[this] { return now_; }, [this] { return steady_; }});
}

FakeClock::~FakeClock()
{
    platform::setClockSource({});
}

void FakeClock::advance(qint64 ms)
{
    now_ = now_.addMSecs(ms);
    steady_ += ms;
}

ScriptedRandom::ScriptedRandom(quint32 seed)
{
    auto gen = std::make_shared<QRandomGenerator>(seed);
    platform::setRandomSource(
        [gen](int low, int high) { return low + int(gen->bounded(quint32(high - low) + 1u)); });
}

ScriptedRandom::ScriptedRandom(std::vector<int> values)
{
    auto list = std::make_shared<std::vector<int>>(std::move(values));
    auto next = std::make_shared<size_t>(0);
    platform::setRandomSource([list, next](int low, int high) {
        if (list->empty()) return low;
        const int v = (*list)[(*next)++ % list->size()];
        return std::clamp(v, low, high);
    });
}

ScriptedRandom::~ScriptedRandom()
{
    platform::setRandomSource({});
}

ScriptedDialogs::ScriptedDialogs()
{
    desktop::setMessageHandler([this](const desktop::MessageRequest& r) {
        messages_.push_back({r.title, r.text, r.icon});
        if (messageAnswers_.empty()) {
            ++unanswered_;
            return QMessageBox::Ok;
        }
        const auto b = messageAnswers_.front();
        messageAnswers_.pop_front();
        return b;
    });
    desktop::setModalHandler([this](QDialog& d) {
        dialogTitles_ << d.windowTitle();
        if (dialogAnswers_.empty()) {
            ++unanswered_;
            return int(QDialog::Rejected);
        }
        auto h = std::move(dialogAnswers_.front());
        dialogAnswers_.pop_front();
        return h(d);
    });
    desktop::setFileHandler([this](const desktop::FileRequest&) {
        if (fileAnswers_.empty()) {
            ++unanswered_;
            return QString();
        }
        const QString p = fileAnswers_.front();
        fileAnswers_.pop_front();
        return p;
    });
}

ScriptedDialogs::~ScriptedDialogs()
{
    desktop::setMessageHandler({});
    desktop::setModalHandler({});
    desktop::setFileHandler({});
}
