#include "data/side_by_side.h"

#include <future>
#include <system_error>

void RunSideBySide(const std::function<void()>& first, const std::function<void()>& second)
{
    std::future<void> done;
    try {
        done = std::async(std::launch::async, first);
    } catch (const std::system_error&) {
        first();
    }
    second();
    if (done.valid()) done.get();
}
