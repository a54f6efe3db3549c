// One main for every test program, native or Windows.
#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Every report names the pointer width of the program that wrote it, so that
// a run can prove which build it tested (the emulated 32-bit PC must never
// run the 64-bit programs by mistake).
class PointerWidth : public testing::Environment {
 public:
  void SetUp() override {
    testing::Test::RecordProperty("pointer_bits", static_cast<int>(sizeof(void*) * 8));
  }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new PointerWidth);
  printf("pointer width: %d bits\n", static_cast<int>(sizeof(void*) * 8));
  return RUN_ALL_TESTS();
}
