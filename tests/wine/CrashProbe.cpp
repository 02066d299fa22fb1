// Writes through a null pointer: an access violation that nothing handles. Both the pointer and
// the store are volatile, or the compiler drops the store.
int main() {
  volatile int* volatile target = nullptr;
  *target = 1;
  return 0;
}
