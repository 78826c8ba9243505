#pragma once
// One axis of a stretch copy with the platform's rules for negative extents: a negative source or
// destination width takes the |width| columns left of the start (above it, for heights) and mirrors
// them; two negative extents mirror twice and so copy straight. The tab nine-grid depends on this:
// a source width of -1 at x = 7 copies column 6.

namespace skin {

class BlitAxis {
  public:
    BlitAxis(int dest, int destExtent, int source, int sourceExtent);

    bool empty() const { return destLength_ == 0 || sourceLength_ == 0; }
    int destStart() const { return destStart_; }
    int destLength() const { return destLength_; }
    int sourceStart() const { return sourceStart_; }
    int sourceLength() const { return sourceLength_; }
    bool mirrored() const { return mirrored_; }

    // Source coordinate for destination offset i (0 <= i < destLength), nearest sample.
    int sourceAt(int i) const;

  private:
    int destStart_;
    int destLength_;
    int sourceStart_;
    int sourceLength_;
    bool mirrored_;
};

} // namespace skin
