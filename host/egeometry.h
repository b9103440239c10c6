#pragma once

class ePoint {
 public:
  ePoint(int x = 0, int y = 0) : xp(x), yp(y) {}
  int x() const { return xp; }
  int y() const { return yp; }
  bool operator==(const ePoint& other) const { return xp == other.xp && yp == other.yp; }

 private:
  int xp, yp;
};

class eSize {
 public:
  eSize(int width = 0, int height = 0) : w(width), h(height) {}
  int width() const { return w; }
  int height() const { return h; }
  bool operator==(const eSize& other) const { return w == other.w && h == other.h; }

 private:
  int w, h;
};

class eRect {
 public:
  eRect() = default;
  eRect(ePoint topLeft, eSize size) : origin(topLeft), extent(size) {}
  int left() const { return origin.x(); }
  int top() const { return origin.y(); }
  int width() const { return extent.width(); }
  int height() const { return extent.height(); }
  ePoint topLeft() const { return origin; }
  eSize size() const { return extent; }

 private:
  ePoint origin;
  eSize extent;
};
