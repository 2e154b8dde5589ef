// Holders of the render context: each keeps its own copy, shares what the copy points to.
#include <gtest/gtest.h>

#include <cstring>

#include "app/Timer.h"
#include "gfx/RenderContext.h"

TEST(RenderContext, HoldersCopyTheRecordAndShareTheTimer) {
  Timer timer;
  RenderContext rc;
  rc.timer = &timer;
  rc.width = 1366;
  rc.height = 768;
  D3DXMatrixOrthoLH(&rc.orthoHalf, 683.0f, 384.0f, rc.nearPlane, rc.farPlane);
  ContextHolder first(rc);
  rc.width = 1;  // later changes to the Demo's record reach no holder
  ContextHolder last(first.m_renderContext);
  EXPECT_EQ(std::memcmp(&first.m_renderContext, &last.m_renderContext, sizeof(RenderContext)), 0);
  EXPECT_EQ(first.m_renderContext.width, 1366);
  EXPECT_FLOAT_EQ(first.aspect, 1366.0f / 768.0f);
  EXPECT_EQ(first.lastUpdate, 0);
  EXPECT_EQ(&OrthoForSizeClass(first.m_renderContext, 1), &first.m_renderContext.orthoHalf);
  timer.elapsed = 50000;
  EXPECT_EQ(last.m_renderContext.timer->elapsed, 50000);
}

TEST(RenderContext, AspectOfAnEmptyScreenIsZeroNotInfinite) {
  RenderContext rc;
  EXPECT_EQ(ContextHolder(rc).aspect, 0.0f);
}
