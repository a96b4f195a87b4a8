#include "text/face_plane.h"

#include <mutex>
#include <vector>

#include "util/relaxed.h"

namespace {

// The cells are written by the program thread while a front-end reads
// them, so each one is a relaxed atomic byte (a plain store on the machine).
// Replacing a plane is rare (window set-up) and is the only change that
// frees memory; the reader holds the lock while it copies, so it never
// reads a plane being freed. Cell writes come from the thread that
// replaces the plane and need no lock.
struct FacePlane {
    std::mutex replacing;
    std::vector<relaxed<uint8_t>> cells;
};

FacePlane planes[graphicwindowcount];

bool inside(const FacePlane& plane, int64_t index, int64_t count)
{
    const auto size = static_cast<int64_t>(plane.cells.size());
    return index >= 0 && count >= 0 && index <= size && count <= size - index;
}

}  // namespace

void resetfaceplane(uint8_t window, int64_t cells)
{
    if (window >= graphicwindowcount)
        return;
    std::vector<relaxed<uint8_t>> fresh(static_cast<size_t>(cells > 0 ? cells : 0));
    std::lock_guard lock(planes[window].replacing);
    planes[window].cells.swap(fresh);
}

void recordface(uint8_t window, int64_t index, t_FontFace face)
{
    if (window >= graphicwindowcount || !inside(planes[window], index, 1))
        return;
    planes[window].cells[static_cast<size_t>(index)] = static_cast<uint8_t>(face);
}

void moveface(uint8_t window, int64_t from, int64_t to, int64_t count)
{
    if (window >= graphicwindowcount || count < 1)
        return;
    FacePlane& plane = planes[window];
    if (!inside(plane, from, count) || !inside(plane, to, count))
        return;
    auto cell = [&](int64_t index) -> relaxed<uint8_t>& { return plane.cells[static_cast<size_t>(index)]; };
    if (to < from)
        for (int64_t i = 0; i < count; ++i)
            cell(to + i) = cell(from + i).load();
    else
        for (int64_t i = count - 1; i >= 0; --i)
            cell(to + i) = cell(from + i).load();
}

void readfaces(uint8_t window, t_FontFace* faces, int64_t count)
{
    if (window >= graphicwindowcount || count < 1)
        return;
    FacePlane& plane = planes[window];
    std::lock_guard lock(plane.replacing);
    const auto size = static_cast<int64_t>(plane.cells.size());
    for (int64_t i = 0; i < count; ++i)
        faces[i] = i < size ? static_cast<t_FontFace>(plane.cells[static_cast<size_t>(i)].load())
                            : t_FontFace::regular;
}
