# Settings shared by every target: link olg_common_cfg and nothing else is needed.
add_library(olg_common_cfg INTERFACE)
target_compile_features(olg_common_cfg INTERFACE cxx_std_20)
target_compile_options(olg_common_cfg INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
    $<$<BOOL:${OLG_WERROR}>:-Werror>)
target_compile_definitions(olg_common_cfg INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
