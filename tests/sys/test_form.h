#pragma once
// A window with one control of every kind the forms use, counting its window events.

#include <string>
#include <vector>

#include <QIcon>
#include <QTabWidget>
#include <QTreeWidget>

#include "sys/form_window.h"
#include "sys/window_layer.h"

class TestForm : public FormWindow {
  Q_OBJECT

 public:
  explicit TestForm(QWidget* parent = nullptr, std::string_view name = "TestForm")
      : FormWindow({name, "测试窗口", 300, 240, true}, parent) {
    AddEditBox("编辑框1", {8, 8, 104, 24});
    OnClicked(AddButton("按钮1", {120, 8, 56, 24}, "搜索"), [this] { ++clicks; });
    AddLabel("透明标签1", {184, 8, 96, 24}, "");
    AddRadioButton("单选框2", {8, 40, 104, 25}, "获取方式（1）", true);
    AddRadioButton("单选框1", {128, 40, 104, 25}, "获取方式（2）", false);
    QTabWidget* tabs = AddTabControl("高级选择夹1", {8, 72, 280, 120}, 2);
    QTreeWidget* list = AddListView("超级列表框1", {0, 0, 280, 100}, {{"小说", 100}, {"地址", 180}},
                                    false, tabs->widget(1));
    tabs->setCurrentIndex(1);
    OnCurrentRowChanged(list, [this, name = std::string(name)] {
      rowChanges.push_back(SelectedRow(name, "超级列表框1"));
    });
    AddStatusBar("状态条1", {8, 200, 284, 20}, {100, -1});
    AddPictureButton("图形按钮1", {264, 168, 24, 24}, QIcon());
  }

  int created = 0;
  int firstActivated = 0;
  int moves = 0;
  int closeRequests = 0;
  int clicks = 0;
  bool allowClose = true;
  std::vector<int> rowChanges;  // the selected row at each current-row change

 protected:
  void OnCreated() override { ++created; }
  void OnFirstActivated() override { ++firstActivated; }
  void OnPositionChanged() override { ++moves; }
  bool OnCanClose() override {
    ++closeRequests;
    return allowClose;
  }
};
