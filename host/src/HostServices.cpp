#include "aaxhost/HostServices.h"

#include "DescriptionSupport.h"

#include <cstdio>

namespace aaxhost
{

void HostServicesLog::addTrace(TraceRecord record)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (echo_)
        std::fprintf(stderr, "[trace 0x%08X] %s\n", static_cast<unsigned>(record.priority),
                     record.message.c_str());
    traces_.push_back(std::move(record));
}

void HostServicesLog::addStackTrace(StackTraceRecord record)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (echo_)
        std::fprintf(stderr, "[stack trace 0x%08X/0x%08X] %s\n", static_cast<unsigned>(record.tracePriority),
                     static_cast<unsigned>(record.stackTracePriority), record.message.c_str());
    stackTraces_.push_back(std::move(record));
}

void HostServicesLog::addAssertion(AssertionRecord record)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (echo_)
        std::fprintf(stderr, "[assertion] %s:%d: %s (flags %d)\n", record.file.c_str(),
                     static_cast<int>(record.line), record.condition.c_str(), static_cast<int>(record.flags));
    assertions_.push_back(std::move(record));
}

void HostServicesLog::clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    traces_.clear();
    stackTraces_.clear();
    assertions_.clear();
}

void HostServicesLog::setEcho(bool on)
{
    std::lock_guard<std::mutex> lock(mutex_);
    echo_ = on;
}

Result HostServices::Trace(int32_t priority, const char* message) noexcept
{
    record("Trace", {int64_t{priority}, textValue(message)});
    if (log_)
        log_->addTrace(TraceRecord{priority, textOrEmpty(message)});
    return answer("Trace", kResultOk);
}

Result HostServices::StackTrace(int32_t tracePriority, int32_t stackTracePriority,
                                const char* message) noexcept
{
    record("StackTrace", {int64_t{tracePriority}, int64_t{stackTracePriority}, textValue(message)});
    if (log_)
        log_->addStackTrace(StackTraceRecord{tracePriority, stackTracePriority, textOrEmpty(message)});
    return answer("StackTrace", kResultOk);
}

Result HostServices::HandleAssertFailure(const char* file, int32_t line, const char* condition,
                                         int32_t flags) noexcept
{
    record("HandleAssertFailure", {textValue(file), int64_t{line}, textValue(condition), int64_t{flags}});
    if (log_)
        log_->addAssertion(AssertionRecord{textOrEmpty(file), line, textOrEmpty(condition), flags});
    return answer("HandleAssertFailure", kResultOk);
}

void registerHostServices(ComponentFactory& factory, std::shared_ptr<HostServicesLog> log)
{
    factory.registerComponent(AAXCompID_HostServices, [log](const CreateRequest& request)
                              { return HostRef<HostObject>(makeHost<HostServices>(log, request.recorder)); });
}

} // namespace aaxhost
