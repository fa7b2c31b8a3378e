#pragma once

#include <QWidget>

#include "KestrixApp/Views/ViewContext.h"
#include "KestrixKit/Holders/Holder.h"

namespace kestrix::views {

// One process that holds a drive: what it is, what it is doing, what the user can do, and the
// buttons that bring its app forward or show its file. One accessible element.
class HolderRow : public QWidget {
    Q_OBJECT
public:
    HolderRow(ViewContext& context, Holder holder, bool compact, QWidget* parent = nullptr);

    const Holder& holder() const { return holder_; }

private:
    Holder holder_;
};

}  // namespace kestrix::views
