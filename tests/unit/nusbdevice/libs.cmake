list(APPEND extra_libs nusb_logic scripted_usb_script tavimo_devices comctl32)
# The boundary tests load bin/nUsbDevice.dll and bin/scripted/nUsbDevice.dll; the test target is
# created right after this file is read, so the dependency is added once the folder is done.
cmake_language(DEFER CALL add_dependencies unit_nusbdevice nUsbDevice scripted_nusb)
