#include "ui/Backend.h"

#include <utility>

namespace tolv::ui {
namespace {
// Window-thread state, like every other part of the framework.
Backend* installed = nullptr;
}  // namespace

Backend& CurrentBackend() { return installed != nullptr ? *installed : DefaultBackend(); }

Backend* SetBackend(Backend* backend) { return std::exchange(installed, backend); }

}  // namespace tolv::ui
