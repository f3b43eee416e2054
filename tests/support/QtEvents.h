#pragma once

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

// A press and release at x (the middle by default), queued as the window system delivers them.
inline void PostClick(QWidget* widget, double x = -1) {
  const QPointF centre(x >= 0 ? x : widget->width() / 2.0, widget->height() / 2.0);
  const QPointF global = widget->mapToGlobal(centre);
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QCoreApplication::postEvent(
        widget, new QMouseEvent(type, centre, global, Qt::LeftButton,
                                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                Qt::NoModifier));
  }
}
