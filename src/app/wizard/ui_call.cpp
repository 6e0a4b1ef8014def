#include "app/wizard/ui_call.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

UiCall::UiCall() : context_(std::make_unique<QObject>()) {}

UiCall::~UiCall() = default;

void UiCall::Run(const std::function<void()>& report) const {
    const auto guarded = [this, &report] {
        if (!closed_) report();
    };
    if (QThread::currentThread() == context_->thread()) {
        guarded();
        return;
    }
    QMetaObject::invokeMethod(context_.get(), guarded, Qt::BlockingQueuedConnection);
}

void UiCall::Close() { closed_ = true; }

void UiCall::Deliver() { QCoreApplication::sendPostedEvents(context_.get(), QEvent::MetaCall); }
