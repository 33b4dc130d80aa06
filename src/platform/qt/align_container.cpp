#include "platform/qt/align_container.h"

#include <QLabel>
#include <QResizeEvent>
#include <algorithm>

void AlignContainer::AddChild(QWidget* widget, const Control& control) {
  children_.emplace_back(widget, &control);
  Arrange();
}

QSize AlignContainer::minimumSizeHint() const {
  // From the inside out, the reverse of the docking order: what fills the rest, then each
  // docked child around what the ones docked after it need.
  QSize docked(0, 0);
  QSize placed(0, 0);
  for (Align align :
       {Align::None, Align::Client, Align::Right, Align::Left, Align::Bottom, Align::Top}) {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
      const auto& [widget, control] = *it;
      if (control->Alignment != align || !control->Visible()) continue;
      const QSize own = widget->minimumSizeHint().expandedTo(widget->minimumSize());
      switch (align) {
        case Align::Top:
        case Align::Bottom:
          docked = QSize(std::max(docked.width(), own.width()), docked.height() + control->Height);
          break;
        case Align::Left:
        case Align::Right:
          docked = QSize(docked.width() + control->Width, std::max(docked.height(), own.height()));
          break;
        case Align::Client:
          docked = docked.expandedTo(own);
          break;
        case Align::None:
          // At their own places, whatever is docked around them.
          placed = placed.expandedTo(
              QSize(control->Left + control->Width, control->Top + control->Height));
          break;
      }
    }
  }
  const QMargins frame = contentsMargins();
  return docked.expandedTo(placed) +
         QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
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
