#pragma once
// How the JPEG decoder and encoder catch libjpeg's fatal errors. Only their .cpp files include it.
#include <csetjmp>
#include <cstdio>  // jpeglib.h uses FILE and size_t without including their headers

#include <jpeglib.h>

namespace tilvane::jpeg {

// libjpeg reports a fatal error through error_exit, which must not return: it jumps back to the
// setjmp of the function that started the work. The frames it leaves are libjpeg's and the
// codecs' callbacks, none of which holds an object with a destructor.
struct Error_Trap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] inline void Jump_Back(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Error_Trap*>(info->err)->jump, 1);
}

// Warnings (extraneous bytes, corrupt entropy data) would go to stderr; the pixels libjpeg
// makes of such data are kept.
inline void Stay_Quiet(j_common_ptr) {}

// Sets info's error manager to the trap; setjmp(trap.jump) must follow before any libjpeg call.
inline jpeg_error_mgr* Set_Trap(Error_Trap& trap) {
    jpeg_error_mgr* manager = jpeg_std_error(&trap.manager);
    manager->error_exit = Jump_Back;
    manager->output_message = Stay_Quiet;
    return manager;
}

}  // namespace tilvane::jpeg
