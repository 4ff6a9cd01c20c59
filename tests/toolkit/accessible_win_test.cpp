// The toolkit's screen reader tree on a window of its own layout: what is
// exposed as what, states and places, the default action, focus events,
// and objects that outlive their controls and window.
#include "tests/toolkit/acc_helpers.h"
#include "tests/toolkit/gui_helpers.h"
#include "tests/toolkit/test_window.h"
#include "toolkit/toolkit.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kAccLayout[] = R"(<Window size="400,300" bkcolor="#FFFFFFFF">
  <VerticalLayout>
    <Label name="title" text="Title text" height="30"/>
    <HorizontalLayout name="row" height="40" accrole="group">
      <Label text="CPU: Fast"/>
      <TabLayout name="cell" accname="Games">
        <HorizontalLayout><Picture name="icon" accname="Good" width="20"/><Label text="Good"/></HorizontalLayout>
        <HorizontalLayout><Picture accname="Bad" width="20"/><Label text="Bad"/></HorizontalLayout>
      </TabLayout>
      <Button name="fix" text="Fix it" width="60"/>
    </HorizontalLayout>
    <Picture name="decor" height="10"/>
    <Button name="more" text="Read more" accrole="link" height="30"/>
    <Button name="go" text="Go" height="30"/>
    <Button name="hiddenbtn" text="Hidden" visible="false" height="30"/>
    <Label name="empty" height="10"/>
    <Button name="closebtn" accname="Close" height="20"/>
  </VerticalLayout>
</Window>)";

class AccessibleTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = OpenTestWindow(skin, L"acc.xml", kAccLayout, L"Window title");
        ASSERT_NE(window, nullptr);
        client.reset(pm().GetAccessible());
        ASSERT_TRUE(client);
    }
    CPaintManagerUI& pm() { return window->GetPaintManager(); }
    AccPtr ObjectOf(const wchar_t* name) {
        AccessibleObject* object = pm().FindControl(name)->GetAccessibleObject();
        object->AddRef();
        return AccPtr(object);
    }

    TestSkin skin;
    std::unique_ptr<TestWindow> window;
    AccPtr client;
};

} // namespace

TEST_F(AccessibleTest, ControlsAreExposedByKindNameAndLayoutOrder) {
    std::vector<std::wstring> tree;
    AccDescribe(client.get(), 0, tree);
    const std::vector<std::wstring> expected = {
        AccLine(ROLE_SYSTEM_CLIENT, L"Window title", 0),
        AccLine(ROLE_SYSTEM_STATICTEXT, L"Title text"),
        // A group reads as one line: its caption-less parts, then each
        // captioned part; its button is heard on its own.
        AccLine(ROLE_SYSTEM_GROUPING, L"CPU: Fast, Games: Good"),
        AccLine(ROLE_SYSTEM_STATICTEXT, L"CPU: Fast", 2),
        AccLine(ROLE_SYSTEM_GROUPING, L"Games: Good", 2),
        AccLine(ROLE_SYSTEM_GRAPHIC, L"Good", 3),
        AccLine(ROLE_SYSTEM_STATICTEXT, L"Good", 3),
        AccLine(ROLE_SYSTEM_PUSHBUTTON, L"Fix it", 2),
        AccLine(ROLE_SYSTEM_LINK, L"Read more"),
        AccLine(ROLE_SYSTEM_PUSHBUTTON, L"Go"),
        AccLine(ROLE_SYSTEM_PUSHBUTTON, L"Close"),
    };
    EXPECT_EQ(tree, expected);

    // The same tree reached the way a screen reader does. Wine 8.0's oleacc
    // delivers it to 32-bit programs; its 64-bit build answers E_NOINTERFACE
    // for any object, so there only the direct walk above is possible.
    AccPtr viaWindow;
    const HRESULT hr = AccessibleObjectFromWindow(*window, static_cast<DWORD>(OBJID_CLIENT),
                                                  __uuidof(IAccessible), viaWindow.put_void());
    if (sizeof(void*) == 8 && hr == E_NOINTERFACE) {
        std::cout << "note: AccessibleObjectFromWindow gives E_NOINTERFACE on this 64-bit Wine\n";
    } else {
        ASSERT_EQ(hr, S_OK);
        std::vector<std::wstring> again;
        AccDescribe(viaWindow.get(), 0, again);
        EXPECT_EQ(again, expected);
    }

    // Parents lead back up to the client, which is one object.
    AccPtr icon = ObjectOf(L"icon");
    IDispatch* up = nullptr;
    ASSERT_EQ(icon->get_accParent(&up), S_OK);
    AccPtr cell;
    up->QueryInterface(__uuidof(IAccessible), cell.put_void());
    up->Release();
    EXPECT_EQ(AccName(cell.get()), L"Games: Good");
    AccPtr go = ObjectOf(L"go");
    ASSERT_EQ(go->get_accParent(&up), S_OK);
    ComOwner<IUnknown> parentIdentity, clientIdentity;
    up->QueryInterface(IID_IUnknown, parentIdentity.put_void());
    up->Release();
    client->QueryInterface(IID_IUnknown, clientIdentity.put_void());
    EXPECT_EQ(parentIdentity.get(), clientIdentity.get());

    // Another page of the tab: the group says what the page says.
    dynamic_cast<CTabLayoutUI*>(pm().FindControl(L"cell"))->SelectItem(1);
    EXPECT_EQ(AccName(cell.get()), L"Games: Bad");
}

TEST_F(AccessibleTest, StatesAndLocationFollowTheControls) {
    AccPtr go = ObjectOf(L"go");
    AccPtr title = ObjectOf(L"title");
    EXPECT_EQ(AccState(go.get()) & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED),
              STATE_SYSTEM_FOCUSABLE);
    EXPECT_NE(AccState(title.get()) & STATE_SYSTEM_READONLY, 0);
    EXPECT_NE(AccState(ObjectOf(L"more").get()) & STATE_SYSTEM_LINKED, 0);

    ShowWindow(*window, SW_SHOWNORMAL);
    SetForegroundWindow(*window);
    ::SetFocus(*window);
    pm().SetFocus(pm().FindControl(L"go"), true);
    EXPECT_NE(AccState(go.get()) & STATE_SYSTEM_FOCUSED, 0);
    VARIANT focus;
    VariantInit(&focus);
    ASSERT_EQ(client->get_accFocus(&focus), S_OK);
    ASSERT_EQ(focus.vt, VT_DISPATCH);
    EXPECT_EQ(AccName(static_cast<IAccessible*>(static_cast<IDispatch*>(focus.pdispVal))), L"Go");
    VariantClear(&focus);

    long x = 0, y = 0, width = 0, height = 0;
    ASSERT_EQ(go->accLocation(&x, &y, &width, &height, AccSelf()), S_OK);
    RECT r = pm().FindControl(L"go")->GetPos();
    MapWindowPoints(*window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(x, r.left);
    EXPECT_EQ(y, r.top);
    EXPECT_EQ(width, r.right - r.left);
    EXPECT_EQ(height, r.bottom - r.top);

    // Hit testing finds the innermost object under a point.
    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(client->accHitTest(x + width / 2, y + height / 2, &hit), S_OK);
    ASSERT_EQ(hit.vt, VT_DISPATCH);
    EXPECT_EQ(AccName(static_cast<IAccessible*>(static_cast<IDispatch*>(hit.pdispVal))), L"Go");
    VariantClear(&hit);

    pm().FindControl(L"go")->SetEnabled(false);
    EXPECT_NE(AccState(go.get()) & STATE_SYSTEM_UNAVAILABLE, 0);
    EXPECT_EQ(AccState(go.get()) & STATE_SYSTEM_FOCUSABLE, 0);
    pm().FindControl(L"go")->SetVisible(false);
    EXPECT_EQ(AccState(go.get()), STATE_SYSTEM_INVISIBLE);
    long count = 0;
    client->get_accChildCount(&count);
    EXPECT_EQ(count, 4); // title, row, link, close
}

TEST_F(AccessibleTest, DefaultActionClicksFromTheMessageLoop) {
    AccPtr go = ObjectOf(L"go");
    BSTR action = nullptr;
    ASSERT_EQ(go->get_accDefaultAction(AccSelf(), &action), S_OK);
    EXPECT_STREQ(action, L"Press");
    SysFreeString(action);
    ASSERT_EQ(ObjectOf(L"more")->get_accDefaultAction(AccSelf(), &action), S_OK);
    EXPECT_STREQ(action, L"Jump");
    SysFreeString(action);
    EXPECT_EQ(ObjectOf(L"title")->get_accDefaultAction(AccSelf(), &action), S_FALSE);
    EXPECT_EQ(ObjectOf(L"title")->accDoDefaultAction(AccSelf()), DISP_E_MEMBERNOTFOUND);

    // The reader's call returns before the click runs.
    ASSERT_EQ(go->accDoDefaultAction(AccSelf()), S_OK);
    EXPECT_TRUE(window->clicks.empty());
    PumpPending();
    EXPECT_EQ(window->clicks, (std::vector<std::wstring>{L"go"}));
    // A child addressed through its parent, by 1-based index, works alike.
    VARIANT fourth;
    VariantInit(&fourth);
    fourth.vt = VT_I4;
    fourth.lVal = 4;
    ASSERT_EQ(client->accDoDefaultAction(fourth), S_OK);
    PumpPending();
    EXPECT_EQ(window->clicks, (std::vector<std::wstring>{L"go", L"go"}));
}

namespace {

struct FocusEvent {
    HWND window = nullptr;
    LONG object = 0;
    LONG child = 0;
    int count = 0;
} g_focusEvent;

void CALLBACK OnFocusEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                           DWORD) {
    g_focusEvent.window = window;
    g_focusEvent.object = object;
    g_focusEvent.child = child;
    ++g_focusEvent.count;
}

} // namespace

TEST_F(AccessibleTest, FocusEventsNameAnObjectTheClientResolves) {
    g_focusEvent = FocusEvent{};
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &OnFocusEvent,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    SendMessageW(*window, WM_KEYDOWN, VK_TAB, 0); // "Fix it", the first tab stop
    for (int i = 0; i < 200 && g_focusEvent.count == 0; ++i) {
        PumpPending();
        Sleep(10); // polling for the event, with a deadline
    }
    UnhookWinEvent(hook);
    ASSERT_EQ(g_focusEvent.count, 1);
    EXPECT_EQ(g_focusEvent.window, window->GetHWND());
    EXPECT_EQ(g_focusEvent.object, OBJID_CLIENT);
    EXPECT_LT(g_focusEvent.child, 0);
    // What a reader does with the event: the client resolves the id.
    VARIANT id;
    VariantInit(&id);
    id.vt = VT_I4;
    id.lVal = g_focusEvent.child;
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(client->get_accChild(id, &dispatch), S_OK);
    AccPtr focused;
    dispatch->QueryInterface(__uuidof(IAccessible), focused.put_void());
    dispatch->Release();
    EXPECT_EQ(AccName(focused.get()), L"Fix it");
    // Once hidden, the id names nothing: a reader is told only of what shows.
    pm().FindControl(L"fix")->SetVisible(false);
    EXPECT_EQ(client->get_accChild(id, &dispatch), E_INVALIDARG);
}

TEST_F(AccessibleTest, ObjectsOutliveTheirControlsAndTheWindowWithoutHarm) {
    AccPtr go = ObjectOf(L"go");
    AccPtr row = ObjectOf(L"row");
    AccPtr icon = ObjectOf(L"icon");

    // A container emptied: its children's objects are cut off, the rest work.
    dynamic_cast<CContainerUI*>(pm().FindControl(L"cell"))->RemoveAll();
    EXPECT_EQ(icon->accDoDefaultAction(AccSelf()), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(AccName(row.get()), L"CPU: Fast, Games");
    EXPECT_EQ(AccName(go.get()), L"Go");

    // The window closed, the controls not yet destroyed: cut off as well.
    {
        ModalWatchdog watchdog(*window);
        window->Close(1);
        EXPECT_EQ(window->ShowModal(), 1u);
    }
    BSTR name = nullptr;
    EXPECT_EQ(go->get_accName(AccSelf(), &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(go->accDoDefaultAction(AccSelf()), CO_E_OBJNOTCONNECTED);

    // Everything gone: every call says so, and releasing later is safe.
    window.reset();
    for (IAccessible* object : {go.get(), row.get(), icon.get(), client.get()}) {
        long count = -1;
        EXPECT_EQ(object->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
        VARIANT v;
        VariantInit(&v);
        EXPECT_EQ(object->get_accState(AccSelf(), &v), CO_E_OBJNOTCONNECTED);
        long x, y, w, h;
        EXPECT_EQ(object->accLocation(&x, &y, &w, &h, AccSelf()), CO_E_OBJNOTCONNECTED);
        IDispatch* parent = nullptr;
        EXPECT_EQ(object->get_accParent(&parent), CO_E_OBJNOTCONNECTED);
        EXPECT_EQ(object->accNavigate(NAVDIR_FIRSTCHILD, AccSelf(), &v), CO_E_OBJNOTCONNECTED);
        EXPECT_EQ(object->accHitTest(0, 0, &v), CO_E_OBJNOTCONNECTED);
        EXPECT_EQ(object->get_accFocus(&v), CO_E_OBJNOTCONNECTED);
    }
    go.reset();
    row.reset();
    icon.reset();
    client.reset();
}

TEST_F(AccessibleTest, NavigationWalksSiblingsAndChildren) {
    VARIANT found;
    VariantInit(&found);
    ASSERT_EQ(client->accNavigate(NAVDIR_FIRSTCHILD, AccSelf(), &found), S_OK);
    ASSERT_EQ(found.vt, VT_DISPATCH);
    AccPtr first;
    found.pdispVal->QueryInterface(__uuidof(IAccessible), first.put_void());
    VariantClear(&found);
    EXPECT_EQ(AccName(first.get()), L"Title text");
    EXPECT_EQ(first->accNavigate(NAVDIR_PREVIOUS, AccSelf(), &found), S_FALSE);
    ASSERT_EQ(first->accNavigate(NAVDIR_NEXT, AccSelf(), &found), S_OK);
    AccPtr second;
    found.pdispVal->QueryInterface(__uuidof(IAccessible), second.put_void());
    VariantClear(&found);
    EXPECT_EQ(AccRole(second.get()), ROLE_SYSTEM_GROUPING);
    ASSERT_EQ(client->accNavigate(NAVDIR_LASTCHILD, AccSelf(), &found), S_OK);
    AccPtr last;
    found.pdispVal->QueryInterface(__uuidof(IAccessible), last.put_void());
    VariantClear(&found);
    EXPECT_EQ(AccName(last.get()), L"Close");
    EXPECT_EQ(last->accNavigate(NAVDIR_NEXT, AccSelf(), &found), S_FALSE);
}
