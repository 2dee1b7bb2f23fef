// Control queries and writes, with the extended ioctls first (they carry
// 64-bit values) and the original ones for drivers that do not answer those.
#include "platform/linux/v4l2/controls.h"

#include "platform/linux/errno_mapping.h"

#include <cerrno>
#include <cstring>

namespace {

bool IsNumeric(uint32_t type) {
    switch (type) {
    case V4L2_CTRL_TYPE_INTEGER:
    case V4L2_CTRL_TYPE_INTEGER64:
    case V4L2_CTRL_TYPE_BOOLEAN:
    case V4L2_CTRL_TYPE_MENU:
        return true;
    default:
        return false;
    }
}

// A control the driver does not know is answered with EINVAL.
HRESULT QueryError(int error) {
    return error == EINVAL ? E_PROP_ID_UNSUPPORTED : HResultFromErrno(error);
}

int QueryExtended(const CV4l2Device& device, uint32_t id, CControlInfo* info) {
    v4l2_query_ext_ctrl query;
    std::memset(&query, 0, sizeof query);
    query.id = id;
    if (const int error = device.Ioctl(VIDIOC_QUERY_EXT_CTRL, &query))
        return error;
    info->type = query.type;
    info->flags = query.flags;
    info->minimum = query.minimum;
    info->maximum = query.maximum;
    info->step = query.step;
    info->defaultValue = query.default_value;
    return 0;
}

int QueryOriginal(const CV4l2Device& device, uint32_t id, CControlInfo* info) {
    v4l2_queryctrl query;
    std::memset(&query, 0, sizeof query);
    query.id = id;
    if (const int error = device.Ioctl(VIDIOC_QUERYCTRL, &query))
        return error;
    info->type = query.type;
    info->flags = query.flags;
    info->minimum = query.minimum;
    info->maximum = query.maximum;
    // A negative step from this older, signed field is as odd as a step of 0.
    info->step = query.step < 0 ? 0 : static_cast<uint64_t>(query.step);
    info->defaultValue = query.default_value;
    return 0;
}

// The current value of one control through an extended request, which
// carries 64-bit values; ENOTTY from a driver that knows only the original.
int SingleExtendedIoctl(const CV4l2Device& device, unsigned long request,
                        v4l2_ext_control* control) {
    v4l2_ext_controls controls;
    std::memset(&controls, 0, sizeof controls);
    controls.which = V4L2_CTRL_WHICH_CUR_VAL;
    controls.count = 1;
    controls.controls = control;
    return device.Ioctl(request, &controls);
}

} // namespace

HRESULT QueryControl(const CV4l2Device& device, uint32_t id, CControlInfo* info) {
    CControlInfo found;
    found.id = id;
    int error = QueryExtended(device, id, &found);
    if (error == ENOTTY)
        error = QueryOriginal(device, id, &found);
    if (error)
        return QueryError(error);
    // The driver may answer with the next control when the flags ask for it;
    // without them it must answer for id, but a wrong answer is not ours.
    if (found.id != id || (found.flags & V4L2_CTRL_FLAG_DISABLED) || !IsNumeric(found.type))
        return E_PROP_ID_UNSUPPORTED;
    *info = found;
    return S_OK;
}

HRESULT ReadControl(const CV4l2Device& device, const CControlInfo& info, int64_t* value) {
    v4l2_ext_control control;
    std::memset(&control, 0, sizeof control);
    control.id = info.id;
    int error = SingleExtendedIoctl(device, VIDIOC_G_EXT_CTRLS, &control);
    if (error == 0) {
        *value = info.type == V4L2_CTRL_TYPE_INTEGER64 ? control.value64 : control.value;
        return S_OK;
    }
    if (error != ENOTTY)
        return HResultFromErrno(error);

    v4l2_control single;
    std::memset(&single, 0, sizeof single);
    single.id = info.id;
    error = device.Ioctl(VIDIOC_G_CTRL, &single);
    if (error)
        return HResultFromErrno(error);
    *value = single.value;
    return S_OK;
}

HRESULT WriteControl(const CV4l2Device& device, const CControlInfo& info, int64_t value) {
    v4l2_ext_control control;
    std::memset(&control, 0, sizeof control);
    control.id = info.id;
    if (info.type == V4L2_CTRL_TYPE_INTEGER64)
        control.value64 = value;
    else
        control.value = static_cast<__s32>(value);
    const int error = SingleExtendedIoctl(device, VIDIOC_S_EXT_CTRLS, &control);
    if (error != ENOTTY)
        return HResultFromErrno(error);

    v4l2_control single;
    std::memset(&single, 0, sizeof single);
    single.id = info.id;
    single.value = static_cast<__s32>(value);
    return HResultFromErrno(device.Ioctl(VIDIOC_S_CTRL, &single));
}
