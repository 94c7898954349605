#include "aaxhost/HostServices.h"

#include "DescriptionSupport.h"

namespace aaxhost
{

void HostServicesLog::addTrace(TraceRecord record)
{
    std::lock_guard<std::mutex> lock(mutex_);
    traces_.add(std::move(record));
}

void HostServicesLog::addStackTrace(StackTraceRecord record)
{
    std::lock_guard<std::mutex> lock(mutex_);
    stackTraces_.add(std::move(record));
}

void HostServicesLog::addAssertion(AssertionRecord record)
{
    std::lock_guard<std::mutex> lock(mutex_);
    assertions_.add(std::move(record));
}

std::vector<TraceRecord> HostServicesLog::takeTraces(std::size_t* dropped)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return traces_.take(dropped);
}

void HostServicesLog::clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    traces_.clear();
    stackTraces_.clear();
    assertions_.clear();
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
