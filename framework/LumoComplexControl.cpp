#include "framework/LumoComplexControl.h"

#include <new>

#include "base/DebugFormat.h"
#include "framework/LumoCell.h"
#include "framework/LumoEngine.h"
#include "framework/LumoScrollBar.h"

LumoComplexControl::LumoComplexControl() = default;

const char* LumoComplexControl::GetClassName() const { return "LumoComplexControl"; }

void LumoComplexControl::ReportComplexFault(const char* operation, const char* hook) const {
  DebugPrint("LumoComplexControl::%s() Unhandled exception during %s() (Control=%p:%s)\n", operation, hook,
             DebugAddress(this), DebugClassName(this));
}

// ---- Life ----

void LumoComplexControl::DoComplete() {
  if (HorizontalBar != nullptr) {
    HorizontalBar->Complete();
  }
  if (VerticalBar != nullptr) {
    VerticalBar->Complete();
  }
  LumoControl::DoComplete();
}

void LumoComplexControl::DoClear() {
  SetCascadeReceiver(nullptr, false);
  LumoControl::DoClear();
}

void LumoComplexControl::DoAbortReferenceTo(LumoObject* other) {
  LumoControl::DoAbortReferenceTo(other);
  if (other == nullptr) {
    return;
  }
  if (other == CascadeReceiver) {
    CascadeReceiver = nullptr;
  }
  if (other == HorizontalBar) {
    HorizontalBar = nullptr;
  }
  if (other == VerticalBar) {
    VerticalBar = nullptr;
  }
}

// ---- Default hooks ----

bool LumoComplexControl::SetCascadeSender(LumoComplexControl*) { return true; }
void LumoComplexControl::DoCascade(LumoComplexControl*) {}
void LumoComplexControl::DoSetContents(const char*) {}
void LumoComplexControl::DoRefresh() {}
void LumoComplexControl::InitializeHorizontalBar() {}
LumoScrollBar* LumoComplexControl::CreateHorizontalBar() { return new (std::nothrow) LumoScrollBar; }
void LumoComplexControl::DoHorizontalScroll(int32_t) {}
void LumoComplexControl::InitializeVerticalBar() {}
LumoScrollBar* LumoComplexControl::CreateVerticalBar() { return new (std::nothrow) LumoScrollBar; }
void LumoComplexControl::DoVerticalScroll(int32_t) {}
bool LumoComplexControl::DoScrollInView(int32_t&, int32_t&) { return false; }
int32_t LumoComplexControl::QueryContents() { return 0; }
void LumoComplexControl::OnCascade(LumoComplexControl*) {}
void LumoComplexControl::OnSetContents() {}
void LumoComplexControl::OnHorizontalScroll(int32_t) {}
void LumoComplexControl::OnVerticalScroll(int32_t) {}
void LumoComplexControl::OnScrollInView(int32_t, int32_t) {}
void LumoComplexControl::OnRefresh() {}

// ---- Cascade, contents, refresh ----

void LumoComplexControl::Cascade() {
  LumoComplexControl* receiver = CascadeReceiver;
  if (receiver == nullptr) {
    return;
  }
  const auto report = [&](const char* hook) {
    DebugPrint("LumoComplexControl::Cascade() Unhandled exception during %s() (Sender=%p:%s, Receiver=%p:%s)\n", hook,
               DebugAddress(this), DebugClassName(this), DebugAddress(receiver), DebugClassName(receiver));
  };
  RunGuarded([&] { receiver->DoCascade(this); }, [&] { report("DoCascade"); });
  RunGuarded([&] { receiver->OnCascade(this); }, [&] { report("OnCascade"); });
}

LumoComplexControl* LumoComplexControl::SetCascadeReceiver(LumoComplexControl* receiver, bool cascadeNow) {
  Keep(CascadeReceiver, static_cast<LumoComplexControl*>(nullptr));
  if (receiver == nullptr) {
    return nullptr;
  }
  const bool taken = RunGuarded([&] { return receiver->SetCascadeSender(this); }, [&] {
    DebugPrint(
        "LumoComplexControl::SetCascadeReceiver() Unhandled exception during SetCascadeSender() (Sender=%p:%s, "
        "Receiver=%p:%s)\n",
        DebugAddress(this), DebugClassName(this), DebugAddress(receiver), DebugClassName(receiver));
  });
  if (!taken) {
    return nullptr;
  }
  Keep(CascadeReceiver, receiver);
  if (cascadeNow) {
    RunGuarded([&] { Cascade(); }, [&] {
      DebugPrint("LumoComplexControl::SetCascadeReceiver() Unhandled exception during Cascade() (Control=%p:%s)\n",
                 DebugAddress(this), DebugClassName(this));
    });
  }
  return CascadeReceiver;
}

int32_t LumoComplexControl::SetContents(const char* contents) {
  RunGuarded([&] { DoSetContents(contents); }, [&] { ReportComplexFault("SetContents", "DoSetContents"); });
  RunGuarded([&] { OnSetContents(); }, [&] { ReportComplexFault("SetContents", "OnSetContents"); });
  return QueryContents();
}

void LumoComplexControl::Refresh() {
  RunGuarded([&] { DoRefresh(); }, [&] { ReportComplexFault("Refresh", "DoRefresh"); });
  RunGuarded([&] { OnRefresh(); }, [&] { ReportComplexFault("Refresh", "OnRefresh"); });
}

// ---- Scrolling ----

void LumoComplexControl::HorizontalScroll(int32_t position) {
  RunGuarded([&] { DoHorizontalScroll(position); },
             [&] { ReportComplexFault("HorizontalScroll", "DoHorizontalScroll"); });
  RunGuarded([&] { OnHorizontalScroll(position); },
             [&] { ReportComplexFault("HorizontalScroll", "OnHorizontalScroll"); });
}

void LumoComplexControl::VerticalScroll(int32_t position) {
  RunGuarded([&] { DoVerticalScroll(position); }, [&] { ReportComplexFault("VerticalScroll", "DoVerticalScroll"); });
  RunGuarded([&] { OnVerticalScroll(position); }, [&] { ReportComplexFault("VerticalScroll", "OnVerticalScroll"); });
}

void LumoComplexControl::ScrollInView() {
  int32_t horizontal = HorizontalBar != nullptr ? HorizontalBar->Position : -1;
  int32_t vertical = VerticalBar != nullptr ? VerticalBar->Position : -1;
  const bool scroll = RunGuarded([&] { return DoScrollInView(horizontal, vertical); },
                                 [&] { ReportComplexFault("ScrollInView", "DoScrollInView"); });
  if (!scroll) {
    return;
  }
  if (horizontal >= 0) {
    RunGuarded([&] {
      if (HorizontalBar != nullptr) {
        HorizontalBar->SetLocation(horizontal);
      } else {
        HorizontalScroll(horizontal);
      }
    }, [&] {
      DebugPrint(
          "LumoComplexControl::ScrollInView() Unhandled exception during setting the horizontal location "
          "(Location=%i, Control=%p:%s)\n",
          horizontal, DebugAddress(this), DebugClassName(this));
    });
  }
  if (vertical >= 0) {
    RunGuarded([&] {
      if (VerticalBar != nullptr) {
        VerticalBar->SetLocation(vertical);
      } else {
        VerticalScroll(vertical);
      }
    }, [&] {
      DebugPrint(
          "LumoComplexControl::ScrollInView() Unhandled exception during setting the vertical location "
          "(Location=%i, Control=%p:%s)\n",
          vertical, DebugAddress(this), DebugClassName(this));
    });
  }
  RunGuarded([&] { OnScrollInView(horizontal, vertical); }, [&] {
    DebugPrint(
        "LumoComplexControl::ScrollInView() Unhandled exception during OnScrollInView() (Horizontal=%i, "
        "Vertical=%i, Control=%p:%s)\n",
        horizontal, vertical, DebugAddress(this), DebugClassName(this));
  });
}

// ---- The bars ----

LumoScrollBar* LumoComplexControl::SetBar(LumoScrollBar*& field, LumoScrollBar* bar, bool horizontal) {
  if (!Body) {
    return field;
  }
  if (LumoScrollBar* old = field) {
    Body->DetachSprite(old);
    old->SetReceiver(nullptr);
    Keep(field, static_cast<LumoScrollBar*>(nullptr));
  }
  if (bar == nullptr || Body->AttachSprite(bar) == nullptr) {
    return field;
  }
  bar->SetReceiver(this);
  Keep(field, bar);
  if (!AnimationPrevented) {
    if (Animating) {
      bar->StartAnimation();
    }
  } else {
    bar->PreventAnimation();
  }
  const char* operation = horizontal ? "SetHorizontalBar" : "SetVerticalBar";
  const char* hook = horizontal ? "InitializeHorizontalBar" : "InitializeVerticalBar";
  RunGuarded([&] {
    if (horizontal) {
      InitializeHorizontalBar();
    } else {
      InitializeVerticalBar();
    }
  }, [&] { ReportComplexFault(operation, hook); });
  return field;
}

LumoScrollBar* LumoComplexControl::SetHorizontalBar(LumoScrollBar* bar) { return SetBar(HorizontalBar, bar, true); }
LumoScrollBar* LumoComplexControl::SetVerticalBar(LumoScrollBar* bar) { return SetBar(VerticalBar, bar, false); }

LumoScrollBar* LumoComplexControl::AttachBar(bool horizontal) {
  LumoCell* cell = Cell();
  if ((horizontal ? HorizontalBar : VerticalBar) != nullptr || Engine == nullptr || cell == nullptr) {
    return nullptr;
  }
  LumoScrollBar* bar = horizontal ? CreateHorizontalBar() : CreateVerticalBar();
  if (bar == nullptr) {
    return nullptr;
  }
  try {
    if (cell->Append(bar) == nullptr) {
      DestroyObject(bar);
      return nullptr;
    }
    bar->SetHorizontal(horizontal);
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    if (!CalculateBounds(bar, left, top, width, height) ||
        !bar->DefineStandard(left, top, horizontal ? width : height, horizontal, 0, 0, 0) ||
        SetBar(horizontal ? HorizontalBar : VerticalBar, bar, horizontal) != bar) {
      DestroyObject(bar);
      return nullptr;
    }
  } catch (...) {
    DebugPrint(horizontal ? "LumoComplexControl::AttachHorizontalBar() Unhandled exception (Control=%p:%s)\n"
                          : "LumoComplexControl::AttachVerticalBar() Unhandled exception (Control=%p:%s)\n",
               DebugAddress(this), DebugClassName(this));
    DestroyObject(bar);
    throw;
  }
  return bar;
}

LumoScrollBar* LumoComplexControl::AttachHorizontalBar() { return AttachBar(true); }
LumoScrollBar* LumoComplexControl::AttachVerticalBar() { return AttachBar(false); }

void LumoComplexControl::AttachScrollBars() {
  AttachHorizontalBar();
  AttachVerticalBar();
}
