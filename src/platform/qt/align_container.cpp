#include "platform/qt/align_container.h"

#include <QLabel>
#include <QResizeEvent>
#include <algorithm>

void AlignContainer::AddChild(QWidget* widget, const Control& control) {
  children_.emplace_back(widget, &control);
  Arrange();
}

void AlignContainer::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  Arrange();
}

void AlignContainer::Arrange() {
  QRect free = contentsRect();
  const auto dock = [&](Align align) {
    for (auto& [widget, control] : children_) {
      if (control->Alignment != align || !control->Visible()) continue;
      switch (align) {
        case Align::Top:
          widget->setGeometry(free.left(), free.top(), free.width(), control->Height);
          free.setTop(free.top() + control->Height);
          break;
        case Align::Bottom:
          widget->setGeometry(free.left(), free.bottom() + 1 - control->Height, free.width(),
                              control->Height);
          free.setBottom(free.bottom() - control->Height);
          break;
        case Align::Left:
          widget->setGeometry(free.left(), free.top(), control->Width, free.height());
          free.setLeft(free.left() + control->Width);
          break;
        case Align::Right:
          widget->setGeometry(free.right() + 1 - control->Width, free.top(), control->Width,
                              free.height());
          free.setRight(free.right() - control->Width);
          break;
        case Align::Client:
          widget->setGeometry(free);
          break;
        case Align::None: {
          // Labels size themselves to their text, as the framework's do.
          const int width = qobject_cast<QLabel*>(widget) != nullptr
                                ? std::max(control->Width, widget->sizeHint().width())
                                : control->Width;
          widget->setGeometry(control->Left, control->Top, width, control->Height);
          break;
        }
      }
    }
  };
  for (Align align :
       {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client, Align::None}) {
    dock(align);
  }
}
