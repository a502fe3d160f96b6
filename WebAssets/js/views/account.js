import { h, fill, statusLine, runAction, text } from '../ui.js';
import { isObject, resultError } from '../envelope.js';
import { field, validate, checks } from '../forms.js';

const MIN_PASSWORD = 8;

function form(title, fields, submitLabel, status, onSubmit) {
  const submit = h('button', { type: 'submit', class: 'primary', text: submitLabel });
  const node = h('form', { class: 'card', novalidate: true }, h('h2', { text: title }), fields.map((f) => f.node), submit, status.node);
  node.addEventListener('submit', (event) => {
    event.preventDefault();
    runAction(submit, status, onSubmit);
  });
  return node;
}

export function mount(section, ctx) {
  const loginEmail = field('login-email', 'E-mail', { type: 'email', autocomplete: 'username' });
  const loginPassword = field('login-password', 'Senha', { type: 'password', autocomplete: 'current-password' });
  const loginStatus = statusLine();
  const loginForm = form('Entrar', [loginEmail, loginPassword], 'Entrar', loginStatus, async () => {
    const ok = validate([
      [loginEmail, checks.email],
      [loginPassword, checks.required('a senha')],
    ]);
    if (!ok) return loginStatus.idle();
    loginStatus.busy('Entrando…');
    const result = await ctx.bridge.request('auth.login', { email: loginEmail.value.trim(), password: loginPassword.value });
    if (!isObject(result) || result.ok !== true) return loginStatus.error(resultError(result));
    loginPassword.value = '';
    loginStatus.ok(`Conectado como ${text(result.email)}.`);
    await ctx.refreshAccount();
  });

  const regEmail = field('register-email', 'E-mail', { type: 'email', autocomplete: 'email' });
  const regPassword = field('register-password', 'Senha', { type: 'password', autocomplete: 'new-password' });
  const regConfirm = field('register-confirm', 'Repita a senha', { type: 'password', autocomplete: 'new-password' });
  const regStatus = statusLine();
  const registerForm = form('Criar conta', [regEmail, regPassword, regConfirm], 'Criar conta', regStatus, async () => {
    const ok = validate([
      [regEmail, checks.email],
      [regPassword, checks.minLength(MIN_PASSWORD)],
      [regConfirm, (v) => (v !== regPassword.value ? 'As senhas não conferem.' : '')],
    ]);
    if (!ok) return regStatus.idle();
    regStatus.busy('Criando a conta…');
    const result = await ctx.bridge.request('auth.register', { email: regEmail.value.trim(), password: regPassword.value });
    if (!isObject(result) || result.ok !== true) return regStatus.error(resultError(result));
    regPassword.value = '';
    regConfirm.value = '';
    loginEmail.value = typeof result.email === 'string' ? result.email : regEmail.value.trim();
    regStatus.ok(`Conta criada para ${text(result.email)}. Entre para continuar.`);
  });

  const sessionText = h('p', { id: 'session-state', text: 'Verificando a sessão…' });
  const logoutStatus = statusLine();
  const logout = h('button', { type: 'button', text: 'Sair', hidden: true });
  logout.addEventListener('click', () =>
    runAction(logout, logoutStatus, async () => {
      const result = await ctx.bridge.request('auth.logout');
      if (!isObject(result) || result.ok !== true) throw new Error('Não foi possível sair.');
      logoutStatus.ok('Sessão encerrada.');
      await ctx.refreshAccount();
    }),
  );

  ctx.store.watch('auth', (auth) => {
    if (auth?.error) {
      sessionText.textContent = 'Sessão desconhecida.';
      return logoutStatus.error(auth.error);
    }
    const signedIn = auth.logged_in === true;
    sessionText.textContent = signedIn ? `Conectado como ${text(auth.email)}.` : 'Nenhuma conta conectada.';
    logout.hidden = !signedIn;
  });

  fill(
    section,
    h('h1', { text: 'Conta' }),
    h('article', { class: 'card session' }, h('h2', { text: 'Sessão' }), sessionText, h('div', { class: 'actions' }, logout), logoutStatus.node),
    h('div', { class: 'grid two' }, loginForm, registerForm),
  );
}
