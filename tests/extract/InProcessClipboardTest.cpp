#include "extract/InProcessClipboard.h"
#include "ClipboardContract.h"

using namespace vocafetch;

namespace {

struct InProcessFactory
{
    static std::unique_ptr<Clipboard> make() { return std::make_unique<InProcessClipboard>(); }
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(InProcess, ClipboardContract, ::testing::Types<InProcessFactory>);
