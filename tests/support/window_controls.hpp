// SPDX-License-Identifier: GPL-3.0-or-later
// Form1's controls as a test reaches them: by their object names, as an accessibility tool or a
// style sheet would. A control missing from the window fails the test that asked for it.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <QtGlobal>

#include "app/article_view.hpp"
#include "app/form1.hpp"
#include "app/picture_box.hpp"
#include "app/status_bar.hpp"
#include "app/tab_strip.hpp"

// The child of `window` named `name`, of type T.
template <typename T>
T* NamedControl(const QObject& window, const char* name) {
  T* control = window.findChild<T*>(QString::fromLatin1(name));
  if (control == nullptr)
    qFatal("the window has no %s named %s", T::staticMetaObject.className(), name);
  return control;
}

struct WindowControls {
  explicit WindowControls(const Form1& form)
      : TabStrip1(NamedControl<TabStrip>(form, "TabStrip1")),
        TreeView1(NamedControl<QTreeWidget>(form, "TreeView1")),
        List2(NamedControl<QListWidget>(form, "List2")),
        Frame3(NamedControl<QGroupBox>(form, "Frame3")),
        Check1(NamedControl<QCheckBox>(form, "Check1")),
        Check2(NamedControl<QCheckBox>(form, "Check2")),
        Label1(NamedControl<QLabel>(form, "Label1")),
        HScroll1(NamedControl<QScrollBar>(form, "HScroll1")),
        Label2(NamedControl<QLabel>(form, "Label2")),
        HScroll2(NamedControl<QScrollBar>(form, "HScroll2")),
        Frame4(NamedControl<QGroupBox>(form, "Frame4")),
        Picture3(NamedControl<PictureBox>(form, "Picture3")),
        Picture4(NamedControl<PictureBox>(form, "Picture4")),
        Picture5(NamedControl<PictureBox>(form, "Picture5")),
        Picture6(NamedControl<PictureBox>(form, "Picture6")),
        Picture7(NamedControl<PictureBox>(form, "Picture7")),
        Picture8(NamedControl<PictureBox>(form, "Picture8")),
        Picture9(NamedControl<PictureBox>(form, "Picture9")),
        Picture10(NamedControl<PictureBox>(form, "Picture10")),
        Picture2(NamedControl<PictureBox>(form, "Picture2")),
        Frame2(NamedControl<QGroupBox>(form, "Frame2")),
        WebBrowser2(NamedControl<ArticleView>(form, "WebBrowser2")),
        StatusBar1(NamedControl<StatusBar>(form, "StatusBar1")),
        Frame1(NamedControl<QGroupBox>(form, "Frame1")),
        Timer1(NamedControl<QTimer>(form, "Timer1")),
        Timer2(NamedControl<QTimer>(form, "Timer2")) {}

  TabStrip* TabStrip1;
  QTreeWidget* TreeView1;
  QListWidget* List2;
  QGroupBox* Frame3;
  QCheckBox* Check1;
  QCheckBox* Check2;
  QLabel* Label1;
  QScrollBar* HScroll1;
  QLabel* Label2;
  QScrollBar* HScroll2;
  QGroupBox* Frame4;
  PictureBox* Picture3;
  PictureBox* Picture4;
  PictureBox* Picture5;
  PictureBox* Picture6;
  PictureBox* Picture7;
  PictureBox* Picture8;
  PictureBox* Picture9;
  PictureBox* Picture10;
  PictureBox* Picture2;
  QGroupBox* Frame2;
  ArticleView* WebBrowser2;
  StatusBar* StatusBar1;
  QGroupBox* Frame1;
  QTimer* Timer1;
  QTimer* Timer2;

  // A colour swatch by its name ("Picture3" .. "Picture10").
  PictureBox* Swatch(std::string_view name) const {
    for (PictureBox* box :
         {Picture3, Picture4, Picture5, Picture6, Picture7, Picture8, Picture9, Picture10})
      if (box != nullptr && box->objectName().toStdString() == name) return box;
    return nullptr;
  }
};

// The window's controls, looked up afresh.
inline WindowControls Ctl(const Form1& form) { return WindowControls(form); }
