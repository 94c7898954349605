// The parameter manager on its own: order, lookups, duplicates, ownership.

#include "test_effect.h"

#include "AAX_CParameterManager.h"
#include "AAX_IAutomationDelegate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tambrix::test::MakeParameter;

namespace
{

// Records its own destruction.
class CountedParameter : public AAX_CParameter<float>
{
public:
    CountedParameter(const char* id, std::vector<std::string>* destroyed)
        : AAX_CParameter<float>(id, AAX_CString(id), 0.0f, AAX_CLinearTaperDelegate<float>(),
                                AAX_CNumberDisplayDelegate<float, 3>(), true),
          mDestroyed(destroyed)
    {
    }
    ~CountedParameter() override { mDestroyed->push_back(Identifier()); }

private:
    std::vector<std::string>* mDestroyed;
};

} // namespace

TEST(ParameterManager, KeepsOrderFindsByIdentifierAndIndexAndIgnoresDuplicates)
{
    std::vector<std::string> destroyed;
    {
        AAX_CParameterManager manager;
        auto* a = new CountedParameter("a", &destroyed);
        auto* b = new CountedParameter("b", &destroyed);
        auto* c = new CountedParameter("c", &destroyed);
        manager.AddParameter(a);
        manager.AddParameter(b);
        manager.AddParameter(c);
        manager.AddParameter(nullptr);
        EXPECT_EQ(manager.NumParameters(), 3);
        EXPECT_EQ(manager.GetParameterIndex("b"), 1);
        EXPECT_EQ(manager.GetParameter(2), c);
        EXPECT_EQ(manager.GetParameter(3), nullptr);
        EXPECT_EQ(manager.GetParameter(-1), nullptr);
        EXPECT_EQ(manager.GetParameterByID("a"), a);
        EXPECT_EQ(manager.GetParameterByID("ab"), nullptr);
        EXPECT_EQ(manager.GetParameterByID(nullptr), nullptr);
        EXPECT_EQ(manager.GetParameterIndex(nullptr), -1);
        EXPECT_EQ(manager.GetParameterIndex("d"), -1);
        const AAX_CParameterManager& constManager = manager;
        EXPECT_EQ(constManager.GetParameterByID("c"), c);
        EXPECT_EQ(constManager.GetParameter(0), a);

        // A second "a" stays the caller's: not held, not deleted.
        CountedParameter duplicate("a", &destroyed);
        manager.AddParameter(&duplicate);
        EXPECT_EQ(manager.NumParameters(), 3);
        EXPECT_EQ(manager.GetParameterByID("a"), a);
        EXPECT_TRUE(destroyed.empty());

        manager.RemoveAllParameters();
        EXPECT_EQ(destroyed, (std::vector<std::string>{"a", "b", "c"}));
        EXPECT_EQ(manager.NumParameters(), 0);
        EXPECT_EQ(manager.GetParameterByID("a"), nullptr);
        EXPECT_EQ(manager.GetParameter(0), nullptr);
        EXPECT_EQ(manager.GetParameterIndex("a"), -1);
        manager.RemoveAllParameters();
        EXPECT_EQ(destroyed.size(), 3u);
    }
    // The duplicate died at the end of the block; the manager deleted nothing more.
    EXPECT_EQ(destroyed, (std::vector<std::string>{"a", "b", "c", "a"}));
}

TEST(ParameterManager, TheDestructorDeletesWhatIsLeft)
{
    std::vector<std::string> destroyed;
    {
        AAX_CParameterManager manager;
        manager.AddParameter(new CountedParameter("x", &destroyed));
        manager.AddParameter(new CountedParameter("y", &destroyed));
    }
    EXPECT_EQ(destroyed, (std::vector<std::string>{"x", "y"}));
}

namespace
{

// Records which identifiers register and unregister.
class RecordingDelegate : public AAX_IAutomationDelegate
{
public:
    AAX_Result RegisterParameter(AAX_CParamID id) override
    {
        events.push_back(std::string("+") + id);
        return AAX_SUCCESS;
    }
    AAX_Result UnregisterParameter(AAX_CParamID id) override
    {
        events.push_back(std::string("-") + id);
        return AAX_SUCCESS;
    }
    AAX_Result PostSetValueRequest(AAX_CParamID, double) const override { return AAX_SUCCESS; }
    AAX_Result PostCurrentValue(AAX_CParamID, double) const override { return AAX_SUCCESS; }
    AAX_Result PostTouchRequest(AAX_CParamID) override { return AAX_SUCCESS; }
    AAX_Result PostReleaseRequest(AAX_CParamID) override { return AAX_SUCCESS; }
    AAX_Result GetTouchState(AAX_CParamID, AAX_CBoolean* touched) override
    {
        *touched = 0;
        return AAX_SUCCESS;
    }

    std::vector<std::string> events;
};

} // namespace

TEST(ParameterManager, OnlyParametersAddedAfterInitializeAndNoDuplicatesAreAttached)
{
    std::vector<std::string> destroyed;
    RecordingDelegate delegate;
    {
        AAX_CParameterManager manager;
        manager.AddParameter(new CountedParameter("early", &destroyed));
        manager.Initialize(&delegate);
        manager.AddParameter(new CountedParameter("a", &destroyed));
        {
            CountedParameter duplicate("a", &destroyed);
            manager.AddParameter(&duplicate);
        }
        EXPECT_EQ(delegate.events, (std::vector<std::string>{"+a"}));
        EXPECT_EQ(manager.NumParameters(), 2);

        manager.RemoveAllParameters();
        EXPECT_EQ(delegate.events, (std::vector<std::string>{"+a", "-a"}));
    }
    EXPECT_EQ(destroyed, (std::vector<std::string>{"a", "early", "a"}));
}
