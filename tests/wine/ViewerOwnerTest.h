// A fixture with the viewer window shown in front, as the owner of the dialogs a test opens
// over it; every modal script ends and every form is freed after each test.
#pragma once

#include <gtest/gtest.h>

#include "TestForms.h"
#include "WindowProbe.h"
#include "platform/win32/Win32Api.h"
#include "ui/Application.h"
#include "ui/win32/WindowPeer.h"

namespace tolv::wine {

class ViewerOwnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    viewer = ui::Application().NewForm<ViewerUnderTest>();
    viewer->Show();
    owner = ui::win32::WindowOf(*viewer);
    SetForegroundWindow(owner);
    PumpMessages();
  }
  void TearDown() override {
    EndModalScripts();
    ui::Application().FreeAllForms();
    PumpMessages();
  }

  ViewerUnderTest* viewer = nullptr;
  HWND owner = nullptr;
};

}  // namespace tolv::wine
