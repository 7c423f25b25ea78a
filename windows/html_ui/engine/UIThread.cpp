#include "UIThread.h"

#include <stdexcept>

#include "TeguError.h"
#include "UIThreadImpl.h"

namespace ui {

namespace {

class FunctionAction : public ipc::Runnable {
public:
    explicit FunctionAction(const std::function<void()>& fn) : fn(fn) {}
    void run() override { fn(); }

private:
    const std::function<void()>& fn;
};

} // namespace

UIThread::UIThread() : impl(ThreadImpl::acquire()) {}

UIThread::~UIThread() {
    ThreadImpl::release(impl);
}

void UIThread::execute(ipc::Runnable* action) {
    if (!action) {
        JP_THROW(std::logic_error("NULL action"));
    }
    impl->execute(*action);
}

void UIThread::execute(const std::function<void()>& action) {
    FunctionAction runnable(action);
    execute(&runnable);
}

} // namespace ui
