#include "main_window/number_fields.h"

#include "shell/input_check_text.h"

namespace tilvane::app {

bool Check_Number_Fields(kit::Form& window, std::span<const Number_Field> fields) {
    for (const Number_Field& checked : fields) {
        if (checked.field.Holds_Number()) continue;
        window.Show_Error(shell::Not_A_Number_Text(checked.name, checked.field.Minimum(), checked.field.Maximum()));
        checked.field.Focus();
        return false;
    }
    return true;
}

}  // namespace tilvane::app
