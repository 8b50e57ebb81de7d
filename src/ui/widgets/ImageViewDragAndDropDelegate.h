#pragma once

class ImageViewDragAndDrop;

// Told when the user dropped a new picture on a photo well.
class ImageViewDragAndDropDelegate
{
public:
    virtual ~ImageViewDragAndDropDelegate() = default;

    virtual void imageDidChange(ImageViewDragAndDrop *imageView) = 0;
};
