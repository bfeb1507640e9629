// The login page (a user of the account set and the password) and the start page (the bills of
// the sales plug-ins, each with "new bill", "bill list" and the lists of its kinds that have one).
import { h, get, post } from './api.js';

export async function loginPage(root, { loggedIn, error }) {
  const user = h('input', { id: 'login-user', name: 'user', type: 'text', autocomplete: 'username', required: true });
  const password = h('input', { id: 'login-password', name: 'password', type: 'password', autocomplete: 'current-password', required: true });
  const message = h('div.login-error', { role: 'alert' }, error || '');
  const submit = async (e) => {
    e.preventDefault();
    message.textContent = '';
    try {
      const me = await post('/api/login', { user: user.value, password: password.value });
      loggedIn(me);
    } catch (err) {
      message.textContent = err.message;
      password.value = '';
      password.focus();
    }
  };
  root.replaceChildren(h('div.login', null,
    h('form.login-box', { onsubmit: submit },
      h('h1', null, '销售管理'),
      h('label', { for: 'login-user' }, '用户'), user,
      h('label', { for: 'login-password' }, '密码'), password,
      h('button', { type: 'submit', id: 'login-button' }, '登录'),
      message)));
  user.focus();
}

export async function startPage(root, { me, stale, openBill, openList, logout }) {
  const bills = await get('/api/bills');
  if (stale()) return;
  document.title = '销售管理';
  root.replaceChildren(h('div.start', null,
    h('header.titlebar', null, h('span.title', null, '销售管理'), h('span.spacer'),
      h('span.user', null, `${me.name} (${me.user})`),
      h('button.logout', { type: 'button', onclick: logout }, '退出登录')),
    h('div.cards', null, bills.map((b) => h('div.card', { dataset: { class: b.classTypeId } },
      h('div.card-title', null, b.name),
      h('div.card-note', null, b.plugin.replace(/^.*\./, '')),
      h('div.card-actions', null,
        h('button', { type: 'button', dataset: { action: 'new' }, onclick: () => openBill(b.classTypeId) }, '新增'),
        h('button', { type: 'button', dataset: { action: 'list' }, onclick: () => openList(b.classTypeId) }, '单据列表'),
        // A kind with a list of its own (the online orders).
        (b.lists || []).map((k) => h('button', { type: 'button', dataset: { action: `list-${k.billType}` },
          onclick: () => openList(b.classTypeId, k.billType) }, k.caption))))))));
}
