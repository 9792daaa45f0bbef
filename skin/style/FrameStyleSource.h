#pragma once
// What a form's frame tells the skinned controls created on the form: the style they start
// with. The frame implements it; the style code finds it among the form's children.

#include "skin/style/TsuiUIStyle.h"

#include <QObject>

namespace vocafetch {

class FrameStyleSource
{
public:
    virtual ~FrameStyleSource() = default;
    virtual TsuiUIStyle frameStyle() const = 0;
};

} // namespace vocafetch

Q_DECLARE_INTERFACE(vocafetch::FrameStyleSource, "vocafetch.FrameStyleSource")
