#include "viewer/Reveal.h"

namespace tolv {
namespace {

bool g_reveal = false;

}  // namespace

bool GetReveal() { return g_reveal; }
void SetReveal(bool value) { g_reveal = value; }

}  // namespace tolv
