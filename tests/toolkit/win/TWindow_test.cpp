// Window objects on real windows: dispatch and fall-through, refused creation, controls
// subclassed under both rules, unbinding, and the object lifetime rules.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "toolkit/win/TWindow.h"

namespace {

constexpr char kTestClass[] = "qv_TestWindow";
constexpr char kNativeClass[] = "qvtest_NativeControl";

// Messages the stand-in control's own procedure saw, and the value it answers.
std::vector<UINT> nativeSeen;
constexpr LRESULT kNativeAnswer = 77;

LRESULT CALLBACK NativeControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    nativeSeen.push_back(message);
    if (message == WM_KEYUP || message == WM_USER)
        return kNativeAnswer;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool Seen(UINT message)
{
    for (UINT m : nativeSeen)
        if (m == message)
            return true;
    return false;
}

void RegisterClasses()
{
    TWindow::RegisterWindowClass(0, nullptr, nullptr, kTestClass, 0);
    WNDCLASSA wc{};
    wc.lpfnWndProc = NativeControlProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kNativeClass;
    RegisterClassA(&wc);
}

class Recorder : public TWindow {
public:
    explicit Recorder(std::string* log = nullptr) : log(log) {}
    ~Recorder() override
    {
        if (closeInDestructor)
            DestroyNativeWindow();
    }

    HWND CreateTop(const char* title = "window")
    {
        RegisterClasses();
        return CreateWindowExA(0, kTestClass, title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), this);
    }

    LRESULT OnCreate(CREATESTRUCTA* create) override
    {
        Note("create");
        handleDuringCreate = handle;
        createParam = create->lpCreateParams;
        return createAnswer;
    }
    LRESULT OnSize(int width, int height, UINT) override
    {
        lastSize = TSize(width, height);
        return kNotHandled;
    }
    LRESULT OnCommand(int code, int id, HWND control) override
    {
        commandCode = code;
        commandId = id;
        commandControl = control;
        return commandAnswer;
    }
    LRESULT OnDrawItem(DRAWITEMSTRUCT* item) override
    {
        drawnItem = item;
        return TRUE;
    }
    LRESULT OnKeyUp(UINT key, UINT) override
    {
        lastKey = key;
        return keyAnswer;
    }
    LRESULT OnClose() override
    {
        Note("close");
        return closeAnswer;
    }
    LRESULT OnDestroy() override
    {
        Note("destroy");
        return 0;
    }

    void Note(const char* what)
    {
        if (log == nullptr)
            return;
        *log += what;
        *log += ";";
    }

    std::string* log;
    bool closeInDestructor = false;
    LRESULT createAnswer = 0;
    LRESULT commandAnswer = 5;
    LRESULT keyAnswer = kNotHandled;
    LRESULT closeAnswer = kNotHandled;
    HWND handleDuringCreate = nullptr;
    void* createParam = nullptr;
    TSize lastSize;
    int commandCode = 0, commandId = 0;
    HWND commandControl = nullptr;
    DRAWITEMSTRUCT* drawnItem = nullptr;
    UINT lastKey = 0;
};

}  // namespace

TEST(TWindow, DispatchDecodesArgumentsAndNotHandledFallsThrough)
{
    Recorder window;
    HWND hwnd = window.CreateTop("Заголовок");
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(window.Handle(), hwnd);
    EXPECT_EQ(window.handleDuringCreate, hwnd);
    EXPECT_EQ(window.createParam, &window);
    EXPECT_EQ(TWindow::FromHandle(hwnd), &window);

    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(321, 123));
    EXPECT_EQ(window.lastSize, TSize(321, 123));
    HWND fakeControl = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(401, 7), reinterpret_cast<LPARAM>(fakeControl)), 5);
    EXPECT_EQ(window.commandId, 401);
    EXPECT_EQ(window.commandCode, 7);
    EXPECT_EQ(window.commandControl, fakeControl);

    // Messages nobody routes reach the default processing: the text set at creation.
    EXPECT_STREQ(window.GetText().CStr(), "Заголовок");

    // A close the handler keeps leaves the window; NotHandled lets the default processing
    // destroy it.
    window.closeAnswer = 0;
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(hwnd));
    window.closeAnswer = TWindow::kNotHandled;
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_EQ(TWindow::FromHandle(hwnd), nullptr);
}

TEST(TWindow, CreateAnsweringMinusOneRefusesTheWindowAndTheObjectCanCreateAgain)
{
    Recorder window;
    window.createAnswer = -1;
    EXPECT_EQ(window.CreateTop(), nullptr);
    EXPECT_EQ(window.Handle(), nullptr);

    window.createAnswer = 0;
    HWND hwnd = window.CreateTop();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(window.Handle(), hwnd);
    DestroyWindow(hwnd);
}

TEST(TWindow, DestroyReleasesFontTooltipAndBinding)
{
    Recorder window;
    HWND hwnd = window.CreateTop();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(window.SetFontByFace("Arial", 90, 0, TWindow::kBold, true));
    HFONT first = window.GetFont();
    ASSERT_TRUE(window.SetFontByFace("Arial", 130, 0, 0, true));
    EXPECT_EQ(GetObjectType(first), 0u) << "the replaced font is deleted";
    HFONT font = window.GetFont();
    ASSERT_NE(GetObjectType(font), 0u);
    window.SetBackgroundColour(RGB(255, 215, 0));
    HBRUSH brush = window.BackgroundBrush();
    ASSERT_TRUE(window.AddTooltip("первый"));
    HWND tip = window.Tooltip();
    ASSERT_TRUE(window.AddTooltip("второй", "Заголовок"));
    EXPECT_EQ(window.Tooltip(), tip) << "one tooltip window per window";
    char text[64] = {};
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "второй");

    DestroyWindow(hwnd);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(tip));
    EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST(TWindow, DrawItemGoesToTheObjectBoundToTheControl)
{
    Recorder parent;
    HWND hwnd = parent.CreateTop();
    Recorder child;
    HWND control = CreateWindowExA(0, kNativeClass, "", WS_CHILD, 0, 0, 10, 10, hwnd,
                                   reinterpret_cast<HMENU>(42), GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(child.BindControl(control, TWindow::SubclassRule::ZeroMeansHandled));
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = 42;
    item.hwndItem = control;
    EXPECT_EQ(SendMessageA(hwnd, WM_DRAWITEM, 42, reinterpret_cast<LPARAM>(&item)), TRUE);
    EXPECT_EQ(child.drawnItem, &item);
    EXPECT_EQ(parent.drawnItem, nullptr);

    // The handle a control posted is looked up among the children: gone means null.
    EXPECT_EQ(TWindow::FindChild(hwnd, control), &child);
    DestroyWindow(control);
    EXPECT_EQ(TWindow::FindChild(hwnd, control), nullptr);
    DestroyWindow(hwnd);
}

TEST(TWindow, SubclassRulesDecideWhetherTheControlsOwnProcedureRuns)
{
    Recorder parent;
    HWND hwnd = parent.CreateTop();
    HWND control = CreateWindowExA(0, kNativeClass, "", WS_CHILD, 0, 0, 10, 10, hwnd, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    Recorder owner;
    ASSERT_TRUE(owner.BindControl(control, TWindow::SubclassRule::ZeroMeansHandled));
    EXPECT_FALSE(Recorder().BindControl(control, TWindow::SubclassRule::ZeroMeansHandled))
        << "one object per window";

    struct Row {
        TWindow::SubclassRule rule;
        LRESULT handlerAnswer;
        bool controlRuns;
    } rows[] = {
        {TWindow::SubclassRule::ZeroMeansHandled, 0, false},
        {TWindow::SubclassRule::ZeroMeansHandled, 1, true},
        {TWindow::SubclassRule::ZeroMeansHandled, TWindow::kNotHandled, true},
        {TWindow::SubclassRule::NotHandledPassesOn, TWindow::kNotHandled, true},
        {TWindow::SubclassRule::NotHandledPassesOn, 0, false},
        {TWindow::SubclassRule::NotHandledPassesOn, 1, false},
    };
    for (const Row& r : rows) {
        owner.Subclass(r.rule);
        owner.keyAnswer = r.handlerAnswer;
        owner.lastKey = 0;
        nativeSeen.clear();
        LRESULT answer = SendMessageA(control, WM_KEYUP, VK_F5, 0);
        EXPECT_EQ(owner.lastKey, static_cast<UINT>(VK_F5)) << "the object sees the message first";
        EXPECT_EQ(Seen(WM_KEYUP), r.controlRuns) << static_cast<int>(r.rule) << " " << r.handlerAnswer;
        // The answer is the one of the procedure that ran last.
        EXPECT_EQ(answer, r.controlRuns ? kNativeAnswer : 0);
    }

    // Unsubclassed, messages go straight to the control again.
    owner.Unsubclass();
    owner.lastKey = 0;
    EXPECT_EQ(SendMessageA(control, WM_KEYUP, VK_F2, 0), kNativeAnswer);
    EXPECT_EQ(owner.lastKey, 0u);

    // Destroying a subclassed control unbinds the object and still lets the control clean up.
    owner.Subclass(TWindow::SubclassRule::ZeroMeansHandled);
    nativeSeen.clear();
    DestroyWindow(control);
    EXPECT_TRUE(Seen(WM_DESTROY));
    EXPECT_TRUE(Seen(WM_NCDESTROY));
    EXPECT_EQ(owner.Handle(), nullptr);
    DestroyWindow(hwnd);
}

TEST(TWindow, DerivedDestructorClosesWhileWholeAndBaseDestructorOnlyUnbinds)
{
    std::string log;
    auto* whole = new Recorder(&log);
    whole->closeInDestructor = true;
    HWND first = whole->CreateTop();
    ASSERT_NE(first, nullptr);
    delete whole;
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(log, "create;close;destroy;");

    // Without the derived call the window still goes, unbound first: no handler of the
    // object runs any more.
    log.clear();
    auto* plain = new Recorder(&log);
    HWND second = plain->CreateTop();
    ASSERT_NE(second, nullptr);
    delete plain;
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(log, "create;");
}
