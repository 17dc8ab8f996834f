#pragma once
#include <stdexcept>
#include <string>

namespace tilvane {

// A failure of the image layer. what() is the text the user sees.
class ImageError : public std::runtime_error {
public:
    enum class Kind { CannotOpen, NotValid, CannotCreate, InvalidPixelFormat };

    ImageError(Kind kind, std::string text) : std::runtime_error(std::move(text)), kind_(kind) {}
    Kind kind() const { return kind_; }

    static ImageError cannot_open(const std::string& path) { return {Kind::CannotOpen, "Cannot open file " + path}; }
    static ImageError not_valid() { return {Kind::NotValid, "Bitmap image is not valid"}; }
    static ImageError jpeg_not_valid() { return {Kind::NotValid, "JPEG image is not valid"}; }
    static ImageError cannot_create(const std::string& path) { return {Kind::CannotCreate, "Cannot create file " + path}; }
    static ImageError invalid_pixel_format() { return {Kind::InvalidPixelFormat, "Invalid pixel format"}; }

private:
    Kind kind_;
};

}  // namespace tilvane
