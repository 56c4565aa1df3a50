# One interface target carries the language level, the warnings and the
# strict Qt defines for every target of the project.
add_library(galevane_options INTERFACE)
target_compile_features(galevane_options INTERFACE cxx_std_20)
target_compile_options(galevane_options INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wold-style-cast
        -Wnon-virtual-dtor -Woverloaded-virtual
        # Layout tables leave unused fields of their entries at the defaults.
        -Wno-missing-field-initializers>)
target_compile_definitions(galevane_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_URL_CAST_FROM_STRING
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)
