#pragma once

// Calls a function each time a widget is shown: for work a hidden widget puts off until someone
// can see it (an unattended run's window never is).

#include <QEvent>
#include <QWidget>

#include <functional>
#include <utility>

class ShowWatcher : public QObject {
 public:
  // Lives as long as the widget does.
  ShowWatcher(QWidget* widget, std::function<void()> shown)
      : QObject(widget), shown_(std::move(shown)) {
    widget->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show) shown_();
    return false;
  }

 private:
  std::function<void()> shown_;
};
