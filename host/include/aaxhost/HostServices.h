#pragma once

#include "aaxhost/ComponentFactory.h"
#include "aaxhost/HostObject.h"
#include "aaxhost/NewestRecords.h"

#include <mutex>
#include <string>
#include <vector>

namespace aaxhost
{

struct TraceRecord
{
    int32_t priority = 0;
    std::string message; // empty for a null message
};

struct StackTraceRecord
{
    int32_t tracePriority = 0;
    int32_t stackTracePriority = 0;
    std::string message;
};

struct AssertionRecord
{
    std::string file;
    int32_t line = 0;
    std::string condition;
    int32_t flags = 0;
};

// What the plug-in reported through the host services, shared by every
// services object the factory creates: the newest kKept of each kind, so that a
// plug-in that traces once per block keeps no growing record. Thread-safe.
class HostServicesLog
{
public:
    static constexpr std::size_t kKept = 1024;

    void addTrace(TraceRecord record);
    void addStackTrace(StackTraceRecord record);
    void addAssertion(AssertionRecord record);

    std::vector<TraceRecord> traces() const { return lockedCopy(mutex_, traces_).records(); }
    std::vector<StackTraceRecord> stackTraces() const { return lockedCopy(mutex_, stackTraces_).records(); }
    std::vector<AssertionRecord> assertions() const { return lockedCopy(mutex_, assertions_).records(); }
    // The traces kept since the last call, with how many older ones were dropped
    // in *dropped (when given).
    std::vector<TraceRecord> takeTraces(std::size_t* dropped = nullptr);
    void clear();

private:
    mutable std::mutex mutex_;
    NewestRecords<TraceRecord, kKept> traces_;
    NewestRecords<StackTraceRecord, kKept> stackTraces_;
    NewestRecords<AssertionRecord, kKept> assertions_;
};

// The host services component (AAXCompID_HostServices), versions 1 to 3:
// answers IID_IAAXHostServicesV1, V2 and V3 with the same interface.
// Operations return kResultOk unless forced with setResult() ("Trace",
// "StackTrace", "HandleAssertFailure", "UnusedPosition3").
class HostServices final : public HostObjectOf<AAX_IACFHostServices_V3>
{
public:
    HostServices(std::shared_ptr<HostServicesLog> log, std::shared_ptr<CallRecorder> recorder)
        : HostObjectOf("HostServices", std::move(recorder)), log_(std::move(log))
    {
    }

    // No exception leaves these (running out of memory ends the process).
    Result UnusedPosition3() noexcept override { return reply("UnusedPosition3", kResultOk); }
    Result Trace(int32_t priority, const char* message) noexcept override;
    Result StackTrace(int32_t tracePriority, int32_t stackTracePriority,
                      const char* message) noexcept override;
    Result HandleAssertFailure(const char* file, int32_t line, const char* condition,
                               int32_t flags) noexcept override;

    const std::shared_ptr<HostServicesLog>& log() const noexcept { return log_; }

protected:
    ~HostServices() override = default;
    void* findInterface(const Uid& iid) noexcept override
    {
        return iid == IID_IAAXHostServicesV1 || iid == IID_IAAXHostServicesV2 || iid == IID_IAAXHostServicesV3
                   ? as<AAX_IACFHostServices_V3>()
                   : nullptr;
    }

private:
    std::shared_ptr<HostServicesLog> log_;
};

// Registers AAXCompID_HostServices with `factory`; every services object it
// creates reports into `log`. To take a version away from the plug-in:
// factory.failInterface(AAXCompID_HostServices, IID_IAAXHostServicesV3).
void registerHostServices(ComponentFactory& factory, std::shared_ptr<HostServicesLog> log);

} // namespace aaxhost
