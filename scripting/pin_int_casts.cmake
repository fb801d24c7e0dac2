# Run on the generated bindings: every number a script passes where an int is
# wanted goes through kinemo_to_int instead of a bare cast.
file(READ "${BINDINGS}" text)
string(REGEX REPLACE "\\(\\(int\\)  tolua_tonumber\\(([^()]*)\\)\\)"
       "(kinemo_to_int(tolua_tonumber(\\1)))" text "${text}")
string(FIND "${text}" "(int)  tolua_tonumber" left)
if(NOT left EQUAL -1)
    message(FATAL_ERROR "pin_int_casts: a cast of a script number to int was not replaced")
endif()
file(WRITE "${BINDINGS}" "${text}")
