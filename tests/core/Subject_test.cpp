#include "core/Subject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class Recorder : public Observer {
public:
    Recorder(char name, std::string& log) : name(name), log(log) {}
    void Update(Subject* subject) override
    {
        log += name;
        last = subject;
    }
    char name;
    std::string& log;
    Subject* last = nullptr;
};

TEST(Subject, NotifiesInAttachOrder)
{
    std::string log;
    Recorder a('a', log), b('b', log), c('c', log);
    Subject s;
    s.Notify();
    EXPECT_EQ(log, "");
    s.Attach(&b);
    s.Attach(&a);
    s.Attach(&c);
    s.Attach(&b);
    s.Notify();
    EXPECT_EQ(log, "bacb");
    EXPECT_EQ(a.last, &s);
    s.Detach(&b);  // first occurrence
    log.clear();
    s.Notify();
    EXPECT_EQ(log, "acb");
}

TEST(CommandStateSubject, FlagsByCommandId)
{
    CommandStateSubject s;
    const uint32_t ids[] = {303, 203, 204, 205, 206, 122, 207, 250, 252, 311, 312, 313, 314};
    for (uint32_t id : ids)
        EXPECT_FALSE(s.IsCommandEnabled(id)) << id;
    EXPECT_TRUE(s.IsCommandEnabled(401));
    EXPECT_TRUE(s.IsCommandEnabled(402));
    EXPECT_FALSE(s.IsCommandEnabled(0));
    EXPECT_FALSE(s.IsCommandEnabled(301));

    const struct {
        bool CommandStateSubject::*flag;
        std::vector<uint32_t> ids;
    } table[] = {
        {&CommandStateSubject::refresh, {303}},   {&CommandStateSubject::cut, {203}},
        {&CommandStateSubject::copy, {204}},      {&CommandStateSubject::paste, {205}},
        {&CommandStateSubject::remove, {206}},    {&CommandStateSubject::rename, {122}},
        {&CommandStateSubject::selectAll, {207}}, {&CommandStateSubject::explorer, {250}},
        {&CommandStateSubject::information, {252}},
        {&CommandStateSubject::viewStyle, {311, 312, 313, 314}},
    };
    for (const auto& row : table) {
        CommandStateSubject one;
        one.*row.flag = true;
        for (uint32_t id : ids) {
            const bool expected = std::find(row.ids.begin(), row.ids.end(), id) != row.ids.end();
            EXPECT_EQ(one.IsCommandEnabled(id), expected) << id;
        }
    }
}

TEST(CommandStateSubject, ResetClearsAndNotifiesOnRequest)
{
    std::string log;
    Recorder menu('m', log);
    CommandStateSubject s;
    s.Attach(&menu);
    s.refresh = s.copy = s.viewStyle = s.information = true;
    s.Reset(false);
    EXPECT_EQ(log, "");
    EXPECT_FALSE(s.IsCommandEnabled(303));
    EXPECT_FALSE(s.IsCommandEnabled(204));
    EXPECT_FALSE(s.IsCommandEnabled(313));
    EXPECT_FALSE(s.IsCommandEnabled(252));
    s.paste = true;
    s.Reset(true);
    EXPECT_EQ(log, "m");
    EXPECT_FALSE(s.IsCommandEnabled(205));
    s.Detach(&menu);
}

}  // namespace
