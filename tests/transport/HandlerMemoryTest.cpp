// The block a connection keeps for one operation at a time: handed out while free and large enough,
// the heap otherwise, and free again once given back.
#include <gtest/gtest.h>

#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>

#include "HandlerMemory.h"

namespace {

TEST(HandlerMemory, HandsOutItsBlockOnceAtATimeAndTheHeapOtherwise) {
    CHandlerMemory memory;
    void* first = memory.Allocate(64);
    void* second = memory.Allocate(64);  // the block is taken
    EXPECT_NE(first, second);
    memory.Deallocate(second);
    void* large = memory.Allocate(4096);
    EXPECT_NE(large, first);
    memory.Deallocate(large);
    memory.Deallocate(first);
    EXPECT_EQ(memory.Allocate(200), first);  // free again
    void* tooLarge = memory.Allocate(100000);
    EXPECT_NE(tooLarge, first);
    memory.Deallocate(tooLarge);
    memory.Deallocate(first);
}

// Asio takes a posted handler's operation from the block, and gives it back before calling the
// handler, so that the next one finds it free.
TEST(HandlerMemory, PostedOperationLivesInTheBlock) {
    boost::asio::io_context io;
    CHandlerMemory memory;
    void* block = memory.Allocate(1);
    memory.Deallocate(block);
    for (int i = 0; i < 3; ++i) {
        bool blockFreeInHandler = false;
        boost::asio::post(io, BindHandlerMemory(memory, [&] {
                              void* probe = memory.Allocate(1);
                              blockFreeInHandler = probe == block;
                              memory.Deallocate(probe);
                          }));
        void* whileQueued = memory.Allocate(1);
        EXPECT_NE(whileQueued, block) << "the queued operation holds the block";
        memory.Deallocate(whileQueued);
        EXPECT_EQ(io.poll(), 1u);
        io.restart();
        EXPECT_TRUE(blockFreeInHandler);
    }
}

}  // namespace
