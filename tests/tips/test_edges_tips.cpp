#include "Tips.h"
#include "testutil.h"

// A tip with an empty text is still one of the set's tips.
TEST(TipsEdges, AnEmptyTipCounts)
{
    ScratchDir dir;
    WriteBytes(dir.Path("tvdt.sys"), "<?TarvinTips version=\"1.0\"?>\r\n<tipset name=\"A\" regpath=\"R\">\r\n"
                                     "<tip text=\"\" />\r\n<tip text=\"b\" />\r\n</tipset>\r\n");
    CTips tips;
    ASSERT_EQ(CTips::TIPS_OK, tips.Load(dir.Path("tvdt.sys").c_str()));
    ASSERT_EQ(1u, tips.GetSetCount());
    EXPECT_EQ(2u, tips.GetSet(0)->GetTips().GetSize());
}
